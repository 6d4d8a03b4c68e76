#!/usr/bin/env bash
# Builds the program and starts it under Wine in the build tree's private prefix.
#
# With a display ($DISPLAY) the program opens there and the script ends when it is closed.
# Without one, it runs on a private Xvfb for a few seconds, saves a screenshot into the build tree,
# says where, and closes the program.
# The prefix's Desktop is a folder inside the build tree; when it holds no shortcut it is first
# filled with forty samples (tools/sample-desktop), four of them in the prefix's desktop of all users.
# On every way out (end, failure, Ctrl+C) the script stops what it started, each by its own PID,
# and waits for Wine's helpers of the prefix to end: it leaves no process behind.
#
# --dpi=N shows the program at another scale (144 is 150 %); the prefix is put back at 96 dpi
# afterwards, and the screenshot is named screenshot-<N>dpi.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/mingw"
dpi=96
for arg in "$@"; do
  case "$arg" in
    --dpi=*) dpi=${arg#--dpi=} ;;
    *) echo "usage: scripts/run.sh [--dpi=N]" >&2; exit 64 ;;
  esac
done
if [ -z "${CLUTTERWISE_RUN_SCALED:-}" ]; then
  "$root/scripts/setup.sh" >&2
  cd "$root"
  cmake --preset mingw -Wno-dev >/dev/null
  cmake --build --preset mingw --target clutterwise sample-desktop -j 2 >&2
  if [ "$dpi" != 96 ]; then
    CLUTTERWISE_RUN_SCALED=1 exec "$root/scripts/with-dpi.sh" "$build" "$dpi" "$0" "$@"
  fi
fi
. "$root/scripts/session.sh"
app_pid=""
stop_app() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
}
session_begin run
session_stop_first=stop_app

cd "$root"
program="$build/app/clutterwise.exe"
samples="$build/tools/sample-desktop/sample-desktop.exe"

headless=0
if [ -z "${DISPLAY:-}" ]; then
  private_display_start
  headless=1
fi

session_build=$build
"$root/scripts/wine-prefix.sh" "$build"
# A test program that ended early may have left the shell's Desktop pointed at a folder of its
# own: point it back at the prefix's Desktop.
"$root/scripts/wine-exec" "$build" reg add \
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
  /v Desktop /t REG_EXPAND_SZ /d '%USERPROFILE%\Desktop' /f >/dev/null 2>&1
"$root/scripts/wine-exec" "$build" "$samples" --if-empty

# In the background, so that a signal reaches the trap at once and the trap knows what to stop.
"$root/scripts/wine-exec" "$build" "$program" &
app_pid=$!

if [ "$headless" = 0 ]; then
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
  exit "$status"
fi

sleep "${CLUTTERWISE_SHOT_DELAY:-6}"
shot="$build/screenshot.png"
[ "$dpi" != 96 ] && shot="$build/screenshot-${dpi}dpi.png"
import -window root "$shot"
echo "Screenshot of the running program: $shot"
