#!/usr/bin/env bash
# Builds the program and starts it under Wine in the build tree's private prefix.
#
# With a display ($DISPLAY) the program opens there and the script ends when it is closed.
# Without one, it runs on a private Xvfb for a few seconds, saves a screenshot into the build tree,
# says where, and closes the program.
# The prefix's Desktop is a folder inside the build tree; when it holds no shortcut it is first
# filled with a dozen samples (tools/sample-desktop).
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
cd "$root"
program="$build/app/clutterwise.exe"
samples="$build/tools/sample-desktop/sample-desktop.exe"

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  # A private display of our own, stopped by its own PID at the end.
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  headless=1
else
  headless=0
fi

"$root/scripts/wine-prefix.sh" "$build"
# A test program that ended early may have left the shell's Desktop pointed at a folder of its
# own: point it back at the prefix's Desktop.
"$root/scripts/wine-exec" "$build" reg add \
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
  /v Desktop /t REG_EXPAND_SZ /d '%USERPROFILE%\Desktop' /f >/dev/null 2>&1
"$root/scripts/wine-exec" "$build" "$samples" --if-empty

if [ "$headless" = 0 ]; then
  exec "$root/scripts/wine-exec" "$build" "$program"
fi

"$root/scripts/wine-exec" "$build" "$program" &
app_pid=$!
sleep "${CLUTTERWISE_SHOT_DELAY:-6}"
shot="$build/screenshot.png"
[ "$dpi" != 96 ] && shot="$build/screenshot-${dpi}dpi.png"
import -window root "$shot"
echo "Screenshot of the running program: $shot"
