#!/usr/bin/env bash
# Set-up, build, then every test under Wine on a private display. Extra arguments go to ctest
# (for instance: scripts/test.sh -R test_fs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$("$root/scripts/build.sh")
cd "$build"
exec xvfb-run -a -s "-screen 0 2048x1536x24" ctest --output-on-failure -j "$(nproc)" "$@"
