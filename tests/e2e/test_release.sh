#!/bin/bash
# The release as a person gets it: `cmake --build --preset win32 --target package` leaves
# build/win32/Snapvane-1.1-win32.zip; it holds one folder with the shipped Snapvane.exe (byte
# for byte the build's), README.txt and LICENSE.txt, and nothing else; the exe's version
# resource (what the file's Properties show on Windows) says 1.1; its header is that of a
# 32-bit program for Windows 7 and later, and it imports only libraries that Windows never
# looks for beside it. Nothing here runs under Wine: the zip is read by unzip, the exe
# straight from the file.
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

if version=$("$kPython" "$kE2eTools/pe_info.py" version "$kUnzipped/$kTop/Snapvane.exe" 2>&1); then
  Log "$version"
  CheckEq "FILEVERSION" "$kVersion.0.0" "$(sed -n 's/^FILEVERSION //p' <<<"$version")"
  CheckEq "PRODUCTVERSION" "$kVersion.0.0" "$(sed -n 's/^PRODUCTVERSION //p' <<<"$version")"
  CheckEq "\"FileVersion\"" "$kVersion.0.0" "$(sed -n 's/^FileVersion=//p' <<<"$version")"
  CheckEq "\"ProductVersion\"" "$kVersion" "$(sed -n 's/^ProductVersion=//p' <<<"$version")"
else
  Fail "the exe's version resource can be read" "$version"
fi

# The header, as the loader reads it.
if header=$("$kPython" "$kE2eTools/pe_info.py" header "$kUnzipped/$kTop/Snapvane.exe" 2>&1); then
  Log "$header"
  CheckEq "a 32-bit program" i386 "$(sed -n 's/^MACHINE //p' <<<"$header")"
  # 6.1: Windows 7, the oldest it supports; an older version gets a legacy program's treatment.
  CheckEq "for the GUI of Windows 7 and later (subsystem version)" "gui 6.1" "$(sed -n 's/^SUBSYSTEM //p' <<<"$header")"
  CheckEq "... and OS version" 6.1 "$(sed -n 's/^OS //p' <<<"$header")"
  # A full capture of a big desktop exists several times over while it is saved.
  CheckEq "large-address-aware: 4 GB of address space on 64-bit Windows" 1 \
    "$(sed -n 's/^LARGE_ADDRESS_AWARE //p' <<<"$header")"
  # The known DLLs of Windows, always loaded from the system folder, and comctl32, which the
  # manifest's Common Controls 6 dependency takes from the side-by-side store: nothing that a
  # DLL of the same name beside the exe could stand in for (msimg32, for one, would be). And
  # only what every start needs: the file dialog, shell, COM and spooler wait for their first
  # use, so starting and idling do not pay for them.
  CheckEq "it imports only what Windows never looks for beside it" \
    "COMCTL32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL" "$(sed -n 's/^IMPORTS //p' <<<"$header")"
else
  Fail "the exe's header can be read" "$header"
fi
