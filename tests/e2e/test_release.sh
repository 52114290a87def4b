#!/bin/bash
# The release as a person gets it: `cmake --build --preset win32 --target package` leaves
# build/win32/Snapvane-1.1-win32.zip; it holds one folder with the shipped Snapvane.exe (byte
# for byte the build's), README.txt and LICENSE.txt, and nothing else; the exe's version
# resource (what the file's Properties show on Windows) says 1.1. Nothing here runs under Wine:
# the zip is read by unzip, the version straight from the file.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

readonly kVersion=1.1
readonly kBuild=$kE2eRoot/build/win32
readonly kTop=Snapvane-$kVersion-win32
readonly kZip=$kBuild/$kTop.zip

# A zip left by an earlier build proves nothing.
rm -f "$kZip"
if ! (cd "$kE2eRoot" && cmake --build --preset win32 --target package) >"$E2E_DIR/package.log" 2>&1; then
  Fail "the package target builds" "$(tail -n 20 "$E2E_DIR/package.log")"
  exit 1
fi
Check "the package target leaves ${kZip#"$kE2eRoot"/}" test -f "$kZip" || exit 1

CheckEq "the zip's entries" \
  "$kTop/LICENSE.txt $kTop/README.txt $kTop/Snapvane.exe" \
  "$(unzip -Z1 "$kZip" | LC_ALL=C sort | paste -sd ' ')"

readonly kUnzipped=$E2E_DIR/unzipped
Check "the zip unzips" unzip -q "$kZip" -d "$kUnzipped" || exit 1
Check "its Snapvane.exe is the build's, byte for byte" \
  cmp "$kUnzipped/$kTop/Snapvane.exe" "$kBuild/Snapvane.exe"
Check "its LICENSE.txt is the LICENSE" cmp "$kUnzipped/$kTop/LICENSE.txt" "$kE2eRoot/LICENSE"
Check "its README.txt is the README" cmp "$kUnzipped/$kTop/README.txt" "$kE2eRoot/README.md"

if version=$("$kPython" "$kE2eTools/pe_version.py" "$kUnzipped/$kTop/Snapvane.exe" 2>&1); then
  Log "$version"
  CheckEq "FILEVERSION" "$kVersion.0.0" "$(sed -n 's/^FILEVERSION //p' <<<"$version")"
  CheckEq "PRODUCTVERSION" "$kVersion.0.0" "$(sed -n 's/^PRODUCTVERSION //p' <<<"$version")"
  CheckEq "\"FileVersion\"" "$kVersion.0.0" "$(sed -n 's/^FileVersion=//p' <<<"$version")"
  CheckEq "\"ProductVersion\"" "$kVersion" "$(sed -n 's/^ProductVersion=//p' <<<"$version")"
else
  Fail "the exe's version resource can be read" "$version"
fi
