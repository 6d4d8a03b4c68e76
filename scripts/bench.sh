#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in the build tree's private prefix, on a private
# display. Arguments go to bench_items (for instance: scripts/bench.sh --sizes=1000 --repeat=3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/mingw"
"$root/scripts/setup.sh" >&2
cd "$root"
cmake --preset mingw -Wno-dev >/dev/null
cmake --build --preset mingw --target bench_items -j 2 >&2
"$root/scripts/wine-prefix.sh" "$build"
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/wine-exec" "$build" "$build/bench/bench_items.exe" "$@"
