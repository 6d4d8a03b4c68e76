#!/usr/bin/env bash
# Set-up, build, then every test under Wine on a private display. Extra arguments go to ctest
# (for instance: scripts/test.sh -R test_fs).
# On every way out the script waits for the Wine helpers of the build tree's prefix to end and
# stops its X server by its own PID: it leaves no process behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/private-display.sh"
# Wine keeps windows within the screen: at 192 dpi the main window is wider than 1280 pixels.
export CLUTTERWISE_SCREEN=2048x1536x24
# Everything started from here carries this mark, so that the end can find what is ours.
export CLUTTERWISE_OWNER="test-$$-$RANDOM$RANDOM"
build=""
cleanup() {
  local status=$?
  if [ -n "$build" ]; then
    "$root/scripts/wine-wait" "$build" "$CLUTTERWISE_OWNER" || true
  fi
  private_display_stop
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

tree=$("$root/scripts/build.sh")
private_display_start
build=$tree
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
