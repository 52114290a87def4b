#!/bin/bash
# Checks that every C++ source follows .clang-format; names the files that do not and says how
# to mend them. Exit status 1 when any file differs, 2 when clang-format is missing.
#
#   scripts/format-check.sh          check
#   scripts/format-check.sh --fix    rewrite the files that differ
set -u
cd "$(dirname "$0")/.." || exit 2
command -v clang-format >/dev/null || { echo "format: clang-format is not installed (scripts/setup.sh)"; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
if [[ ${1:-} == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if ((${#differ[@]})); then
  echo "format: ${#differ[@]} of ${#files[@]} files do not follow .clang-format:"
  printf '    %s\n' "${differ[@]}"
  echo "    (scripts/format-check.sh --fix rewrites them)"
  exit 1
fi
echo "format: all ${#files[@]} C++ files follow .clang-format"
