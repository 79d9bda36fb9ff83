# Shared settings of the tools/ scripts (sourced, not run).
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
DEPS=${MIRABELO_DEPS:-/var/cache/mirabelo}
JOBS=${JOBS:-$(nproc)}
say() { printf '[%s] %s\n' "$(date +%H:%M:%S)" "$*"; }

# The Wine environment every tool and test uses: a private 32-bit prefix under build/,
# Japanese locale (code page 932), no debug noise, no desktop menu entries.
export WINEARCH=win32
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
export LANG=ja_JP.UTF-8
export MIRABELO_WINE_HOME=${MIRABELO_WINE_HOME:-$root/build/wine-home}

# Starts Xvfb with openbox on a free display unless $DISPLAY is set; exports DISPLAY.
# Without a window manager every hide or destroy of a top-level window costs ~2 s.
start_display() {
  [[ -n ${DISPLAY:-} ]] && return 0
  local n=$((90 + RANDOM % 100))
  while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >/dev/null 2>&1 &
  OPENBOX_PID=$!
  sleep 0.5
}
stop_display() {
  [[ -n ${OPENBOX_PID:-} ]] && kill "$OPENBOX_PID" 2>/dev/null || true
  [[ -n ${XVFB_PID:-} ]] && kill "$XVFB_PID" 2>/dev/null || true
}
# Keeps one wineserver alive for the whole run: ~0.05 s per test exe instead of ~3 s.
# A server that another run of the same prefix started is left alone (and not stopped).
start_wineserver() {
  WINESERVER_OURS=0
  HOME=$MIRABELO_WINE_HOME wineserver -p 2>/dev/null && WINESERVER_OURS=1
  HOME=$MIRABELO_WINE_HOME timeout 60 wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() {
  ((${WINESERVER_OURS:-0})) && HOME=$MIRABELO_WINE_HOME wineserver -k 2>/dev/null
  return 0
}
