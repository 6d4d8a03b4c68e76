#!/usr/bin/env bash
# Times the real clutterwise.exe as a user meets it, under Wine in the build tree's private prefix
# on a private display, against bare processes measured in the same run; prints a table and
# writes build/mingw/bench/results.csv. Arguments:
#   --sizes=1000,10000,20000,30000
#                              shortcut counts, half on the user's desktop and half on the desktop
#                              of all users (each made once under build/mingw/bench/desktops/)
#   --repeat=3                 runs per size (best and median)
#   --plot                     also draws build/mingw/bench/results.png (installs gnuplot)
#   --parts                    then times the main window's parts in-process (bench_items) on the
#                              same desktops: scan, moves, processing, existence checks per row
# Do not run it while the tests run in the same build tree: both point the prefix's desktops.
# On every way out the script waits for the Wine helpers of the prefix to end and stops its X
# server by its own PID: it leaves no process behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/mingw"
. "$root/scripts/session.sh"
session_begin bench

out="$build/bench"
plot=0
parts=0
args=()
items=()
for arg in "$@"; do
  case "$arg" in
    --plot) plot=1 ;;
    --parts) parts=1 ;;
    --sizes=*|--repeat=*) args+=("$arg"); items+=("$arg") ;;
    *) args+=("$arg") ;;
  esac
done

if [ "$plot" = 1 ]; then "$root/scripts/setup.sh" gnuplot-nox >&2; else "$root/scripts/setup.sh" >&2; fi
cd "$root"
cmake --preset mingw -Wno-dev >/dev/null
cmake --build --preset mingw --target bench_program bench_items -j 2 >&2
session_build=$build
"$root/scripts/wine-prefix.sh" "$build"
mkdir -p "$out/desktops"
private_display_start
"$root/scripts/wine-exec" "$build" "$out/bench_program.exe" \
  --app="$build/app/clutterwise.exe" --bare="$out/bench_bare.exe" \
  --root="$out/desktops" --csv="$out/results.csv" ${args[@]+"${args[@]}"}
echo "figures: $out/results.csv"

if [ "$parts" = 1 ]; then
  echo
  echo "The main window's parts, in-process on a window of bare lists:"
  "$root/scripts/wine-exec" "$build" "$out/bench_items.exe" \
    --folder="Z:${out//\//\\}\\desktops" ${items[@]+"${items[@]}"}
fi

if [ "$plot" = 1 ]; then
  # One line per measure: its best time at each size (noise on a shared machine only adds); a
  # wait given in milliseconds is drawn in seconds.
  series=("start" "bare list" "bare read" "icons visible" "ui wait while icons load" "process"
          "bare stamp" "refresh" "reapply" "reapply nothing moved" "select all + >>"
          "every other row >>" "one row <<" "alt+up" "alt+down" "alt+home" "alt+end"
          "drag to the top")
  plots=()
  for m in "${series[@]}"; do
    rows="< awk -F, -v OFS=, -v m='$m' -v ms=ms '\$2 == m \&\& !seen[\$1]++ { if (\$3 == ms) \$4 /= 1000; print }' '$out/results.csv'"
    dash=1
    [[ "$m" == bare* ]] && dash=2 # the baselines dashed
    plots+=("\"$rows\" using 1:4 with linespoints linewidth 2 dashtype $dash title \"$m\"")
  done
  gnuplot <<EOF
set datafile separator ","
set terminal pngcairo size 1000,700 noenhanced
set output "$out/results.png"
set title "clutterwise.exe under Wine: best time against shortcut count (bare: the least the work costs)"
set logscale xy
set format y "%g"
set xrange [700:45000]
set xlabel "shortcuts"
set ylabel "seconds"
set key outside right
set grid
plot $(IFS=,; echo "${plots[*]}")
EOF
  echo "plot: $out/results.png"
fi
