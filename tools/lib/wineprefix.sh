#!/usr/bin/env bash
# Creates the private Wine prefix the tests and tools/run use, once:
# real empty user folders (not links to $HOME), font replacements for the Japanese UI font,
# no crash dialog (it would block forever under a display), a trash folder for FOF_ALLOWUNDO,
# and extensions of known file types hidden, as Windows ships.
set -euo pipefail
. "$(dirname "$0")/common.sh"
stamp=$WINEPREFIX/.mirabelo-ready-2
[[ -f $stamp ]] && { say "wine prefix: ready ($WINEPREFIX)"; exit 0; }
say "wine prefix: creating $WINEPREFIX"
rm -rf "$WINEPREFIX"
mkdir -p "$MIRABELO_WINE_HOME/.local/share/Trash"
export HOME=$MIRABELO_WINE_HOME
timeout 300 wineboot -i >/dev/null 2>&1
timeout 120 wineserver -w
user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -n 1)
for d in "$WINEPREFIX/drive_c/users/$user"/*; do
  if [[ -L $d ]]; then rm -f "$d"; mkdir -p "$d"; fi
done
reg() { timeout 60 wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /v HideFileExt /t REG_DWORD /d 1
fonts='HKCU\Software\Wine\Fonts\Replacements'
reg "$fonts" /v 'ＭＳ Ｐゴシック' /d IPAPGothic
reg "$fonts" /v 'MS PGothic' /d IPAPGothic
reg "$fonts" /v 'ＭＳ ゴシック' /d IPAGothic
reg "$fonts" /v 'MS Gothic' /d IPAGothic
reg "$fonts" /v 'ＭＳ Ｐ明朝' /d IPAPMincho
reg "$fonts" /v 'ＭＳ 明朝' /d IPAMincho
timeout 120 wineserver -w
touch "$stamp"
say "wine prefix: ready"
