#!/usr/bin/env bash
# scripts/run.sh without a display leaves no process behind: two runs in a row that end as usual,
# then one stopped with Ctrl+C while the program is up. Other X servers and Wine processes may be
# running on the machine, so each run carries a tag in its environment, which everything it starts
# inherits (Xvfb, wine, wineserver, Wine's services): after the run no live process may carry it.
# Usage: run-leaves-nothing.sh <build-dir>   (run.sh uses build/mingw; another tree is skipped)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
if [ "$build" != "$root/build/mingw" ]; then
  echo "skipped: scripts/run.sh works in $root/build/mingw, not in $build"
  exit 77
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0

# Live processes whose environment holds the tag (ended ones wait as zombies to be reaped).
tagged() {
  local pid stat
  ps -eo pid=,stat= | while read -r pid stat; do
    [[ $stat == Z* ]] && continue
    if grep -qsz "^CLUTTERWISE_RUN_TAG=$1\$" "/proc/$pid/environ"; then
      ps -o pid=,args= -p "$pid" || true
    fi
  done
}

left_behind() {
  local left
  left=$(tagged "$1")
  if [ -n "$left" ]; then
    echo "$2 left processes behind:"
    echo "$left"
    status=1
  fi
}

for run in 1 2; do
  tag="run$run-$$"
  rm -f "$build/screenshot.png"
  if ! env -u DISPLAY CLUTTERWISE_RUN_TAG="$tag" CLUTTERWISE_SHOT_DELAY=2 \
      "$root/scripts/run.sh" >"$log" 2>&1 </dev/null ||
      ! grep -q "^Screenshot of the running program: $build/screenshot.png" "$log" ||
      [ ! -s "$build/screenshot.png" ]; then
    echo "run $run failed or saved no screenshot:"
    tail -n 5 "$log"
    status=1
  fi
  left_behind "$tag" "run $run"
done

# Ctrl+C sends SIGINT to the whole foreground process group. With job control the run gets a
# group of its own and, unlike a plain background job, does not ignore SIGINT: as from a terminal.
tag="interrupted-$$"
set -m
env -u DISPLAY CLUTTERWISE_RUN_TAG="$tag" CLUTTERWISE_SHOT_DELAY=30 \
  "$root/scripts/run.sh" >"$log" 2>&1 </dev/null &
pid=$!
set +m
for _ in $(seq 120); do
  tagged "$tag" | grep -q 'clutterwise\.exe' && break
  sleep 0.5
done
if tagged "$tag" | grep -q 'clutterwise\.exe'; then
  kill -INT -- "-$pid"
  interrupted=0
  wait "$pid" || interrupted=$?
  [ "$interrupted" = 130 ] || { echo "interrupted run ended with $interrupted, not 130"; status=1; }
  left_behind "$tag" "the interrupted run"
else
  echo "the program did not start in the interrupted run:"
  tail -n 20 "$log"
  kill -INT -- "-$pid" 2>/dev/null || true
  wait "$pid" || true
  status=1
fi
exit $status
