#!/usr/bin/env bash
# Set-up, build, then every test under Wine on a private display. Extra arguments go to ctest
# (for instance: scripts/test.sh -R test_fs).
# On every way out the script waits for the Wine helpers of the build tree's prefix to end and
# stops its X server by its own PID: it leaves no process behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/session.sh"
# Wine keeps windows within the screen: at 192 dpi the main window is wider than 1280 pixels.
export CLUTTERWISE_SCREEN=2048x1536x24
session_begin test

tree=$("$root/scripts/build.sh")
private_display_start
session_build=$tree
cd "$tree"
ctest --output-on-failure -j "$(nproc)" "$@"
