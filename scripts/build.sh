#!/usr/bin/env bash
# Set-up, configure and build (mingw-w64 preset); prints the build tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2
cd "$root"
cmake --preset mingw -Wno-dev >/dev/null
cmake --build --preset mingw -j "$(nproc)" >&2
"$root/scripts/wine-prefix.sh" "$root/build/mingw"
echo "$root/build/mingw"
