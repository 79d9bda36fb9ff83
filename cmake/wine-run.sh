#!/bin/sh
# Runs a Windows executable under Wine with the project's test environment
# (used by ctest as the cross-compiling emulator).
exe=$1; shift
case $exe in
  *.exe|*.EXE) ;;
  *) [ -f "$exe.exe" ] && exe=$exe.exe ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$root/build/wine}"; : "${WINEDEBUG:=-all}"
: "${MIRABELO_WINE_HOME:=$root/build/wine-home}"
export WINEPREFIX WINEDEBUG WINEARCH=win32 LANG=ja_JP.UTF-8 HOME="$MIRABELO_WINE_HOME"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
exec timeout "${MIRABELO_TEST_TIMEOUT:-600}" wine "$exe" "$@"
