#!/usr/bin/env bash
# Fails when an .exe or .dll in the given folder imports a DLL that a clean Windows does not have.
# (Debian's Wine ships its own zlib1.dll, so Wine alone would not notice.)
set -euo pipefail
. "$(dirname "$0")/common.sh"
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|msvcrt|uxtheme|gdiplus|windowscodecs|winmm|version|imm32|ntdll|msimg32|avifil32|msvfw32|winspool\.drv)\.dll$'
bad=0 n=0
while IFS= read -r -d '' exe; do
  n=$((n + 1))
  for d in $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u); do
    [[ $d =~ $allowed ]] || { echo "non-system DLL: ${exe##*/} imports $d"; bad=1; }
  done
done < <(find "$1" \( -name '*.exe' -o -name '*.dll' \) -not -path '*/CMakeFiles/*' -print0)
((bad == 0)) || { echo "link these statically" >&2; exit 1; }
say "import check: $n exe(s) and DLL(s) import Windows system DLLs only"
