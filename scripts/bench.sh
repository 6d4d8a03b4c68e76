#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in the build tree's private prefix, on a private
# display. Arguments go to bench_items (for instance: scripts/bench.sh --sizes=1000 --repeat=3).
# On every way out the script waits for the Wine helpers of the prefix to end and stops its X
# server by its own PID: it leaves no process behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/mingw"
. "$root/scripts/private-display.sh"
# Everything started from here carries this mark, so that the end can find what is ours.
export CLUTTERWISE_OWNER="bench-$$-$RANDOM$RANDOM"
ran_wine=0
cleanup() {
  local status=$?
  if [ "$ran_wine" = 1 ]; then
    "$root/scripts/wine-wait" "$build" "$CLUTTERWISE_OWNER" || true
  fi
  private_display_stop
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

"$root/scripts/setup.sh" >&2
cd "$root"
cmake --preset mingw -Wno-dev >/dev/null
cmake --build --preset mingw --target bench_items -j 2 >&2
ran_wine=1
"$root/scripts/wine-prefix.sh" "$build"
private_display_start
"$root/scripts/wine-exec" "$build" "$build/bench/bench_items.exe" "$@"
