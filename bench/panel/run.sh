#!/bin/bash
# The thumbnail panel under Wine beside GraphicsMagick (one thread) on the same 2000 photos.
#   bench/panel/run.sh [RUNS]      (build root: $MIRABELO_BUILD_ROOT, default build/panelbench)
# Mix: 40 JPEGs of 4000 x 3000, 360 of 1920 x 1080, 1600 of 800 x 600 (quality 88), made
# from 4 + 12 + 24 distinct pictures (bench/thumbs.py's generator) copied under shuffled
# names, so every screenful holds all three sizes. Box 32 x 32, the main window's size.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tools/lib/common.sh"
cd "$root"
RUNS=${1:-3}
B=$root/${MIRABELO_BUILD_ROOT:-build/panelbench}
BOX=32
work=$B/panel-bench
photos=$work/photos

say "build panelbench"
cmake -S . -B "$B/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DMIRABELO_DEPS_PREFIX="$DEPS/jpeg;$DEPS/webp;$DEPS/gtest" >/dev/null
cmake --build "$B/win32" -j 2 --target panelbench >/dev/null

if [[ ! -f $photos.done ]]; then
  say "generate 2000 photos under $photos"
  rm -rf "$photos" && mkdir -p "$photos"
  /usr/bin/python3 - "$work/distinct" "$photos" <<'PY'
import os, random, shutil, sys
sys.path.insert(0, os.path.join(os.getcwd(), "bench"))
import thumbs
os.makedirs(sys.argv[1], exist_ok=True)
by = {}
for name, w, h, count in (("photo4000", 4000, 3000, 4), ("photo1920", 1920, 1080, 12),
                          ("photo800", 800, 600, 24)):
    by[name] = []
    for i in range(count):
        path = os.path.join(sys.argv[1], "%s_%02d.jpg" % (name, i))
        if not os.path.exists(path):
            thumbs.write(thumbs.photo(w, h, i), path, "jpeg")
        by[name].append(path)
names = ["photo4000"] * 40 + ["photo1920"] * 360 + ["photo800"] * 1600
random.Random(7).shuffle(names)
for i, n in enumerate(names):
    shutil.copyfile(by[n][i % len(by[n])], os.path.join(sys.argv[2], "img%04d_%s.jpg" % (i, n[5:])))
PY
  touch "$photos.done"
fi
du -sh "$photos" | sed 's/^/photos: /'

start_display
start_wineserver
trap 'stop_wineserver; stop_display' EXIT   # a wineserver this script started is stopped
exe=$B/win32/bin/panelbench.exe
visible=$work/visible.txt
say "panel under Wine (DISPLAY=$DISPLAY), $RUNS runs"
panel_lines=()
for _ in $(seq "$RUNS"); do
  line=$(HOME=$MIRABELO_WINE_HOME wine "$exe" "$(winepath -w "$photos")" --size $BOX \
    --visible-list "$(winepath -w "$visible")" </dev/null | tr -d '\r')
  echo "$line"
  panel_lines+=("$line")
done
mapfile -t visible_files < <(tr -d '\r' <"$visible")

# gm on fresh copies each run; only the mogrify itself is timed. Best of RUNS.
gm_time() {   # gm_time FILE... -> seconds of the best run
  local best=""
  for _ in $(seq "$RUNS"); do
    rm -rf "$work/gm" && mkdir -p "$work/gm"
    (cd "$photos" && cp "$@" "$work/gm/")
    local t0 t1
    t0=$(date +%s.%N)
    (cd "$work/gm" && OMP_NUM_THREADS=1 gm mogrify -limit threads 1 -size ${BOX}x$BOX \
      -thumbnail ${BOX}x$BOX "$@") || { echo "gm failed" >&2; exit 1; }
    t1=$(date +%s.%N)
    best=$(awk -v a="$t0" -v b="$t1" -v best="$best" \
      'BEGIN { d = b - a; if (best == "" || d < best) best = d; printf "%.3f", best }')
  done
  echo "$best"
}
all_files=()
for f in "$photos"/*.jpg; do all_files+=("$(basename "$f")"); done
say "gm mogrify, one thread"
gm_all=$(gm_time "${all_files[@]}") || exit 1
gm_vis=$(gm_time "${visible_files[@]}") || exit 1
gm_class=()   # ms per file for 4000 x 3000, 1920 x 1080, 800 x 600
for size in 4000 1920 800; do
  class_files=()
  for f in "$photos"/*_$size.jpg; do class_files+=("$(basename "$f")"); done
  s=$(gm_time "${class_files[@]}") || exit 1
  gm_class+=("$(awk -v s="$s" -v n=${#class_files[@]} 'BEGIN { printf "%.2f", s * 1000 / n }')")
done
echo "gm box=$BOX files=${#all_files[@]} all_s=$gm_all visible_files=${#visible_files[@]}" \
  "visible_s=$gm_vis ms_per_4000x3000=${gm_class[0]} ms_per_1920x1080=${gm_class[1]}" \
  "ms_per_800x600=${gm_class[2]}"

# Ratios from the panel's best run (smallest all_ms; its first screen from the same run).
printf '%s\n' "${panel_lines[@]}" | awk -v ga="$gm_all" -v gv="$gm_vis" -v nall=${#all_files[@]} \
  -v g4="${gm_class[0]}" -v g2="${gm_class[1]}" -v g8="${gm_class[2]}" '
  { for (i = 1; i <= NF; ++i) { split($i, kv, "="); r[kv[1]] = kv[2] + 0 }
    if (!n++ || r["all_ms"] < v["all_ms"]) for (k in r) v[k] = r[k] }
  END {
    printf "panel best run: all %.2f s, first screen %.2f s; gm: all %.2f s, visible %.2f s\n",
      v["all_ms"] / 1000, v["first_screen_ms"] / 1000, ga, gv
    printf "panel/gm time: whole folder %.2fx, first screen vs gm on the visible files %.2fx\n",
      v["all_ms"] / 1000 / ga, v["first_screen_ms"] / 1000 / gv
    printf "ms per thumbnail over the whole folder, panel / gm: %.2f / %.2f\n",
      v["all_ms"] / nall, ga * 1000 / nall
    printf "UI gap during fill (10 ms timer): worst %.1f ms, p99 %.1f ms" \
      " (idle: worst %.1f, p99 %.1f);" \
      " worst = %.2fx gm 4000x3000 decode, %.2fx gm 800x600 decode\n", v["fill_gap_worst_ms"],
      v["fill_gap_p99_ms"], v["idle_gap_worst_ms"], v["idle_gap_p99_ms"],
      v["fill_gap_worst_ms"] / g4, v["fill_gap_worst_ms"] / g8
    printf "longest UI-thread message handler during fill: %.1f ms (%.2fx gm decoding one" \
      " 4000x3000 photo); folder listing (SetFolderPath) %.0f ms\n",
      v["fill_longest_handler_ms"], v["fill_longest_handler_ms"] / g4, v["listed_ms"]
  }'
