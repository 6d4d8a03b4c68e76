#!/usr/bin/env bash
# Builds everything a second time with clang and lld for the same mingw-w64 target, with the
# project's warnings as errors (clang preset, build/clang): code that only one compiler accepts
# fails here. Prints the build tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" clang-14 lld-14 >&2
cd "$root"
cmake --preset clang -Wno-dev >/dev/null
cmake --build --preset clang -j "$(nproc)" >&2
echo "$root/build/clang"
