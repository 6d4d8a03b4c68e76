#!/usr/bin/env bash
# Builds the program and starts it under Wine in the build tree's private prefix.
#
# With a display ($DISPLAY) the program opens there and the script ends when it is closed.
# Without one, it runs on a private Xvfb for a few seconds: it arranges part of a new order through
# the window as a user would (xdotool), saves a screenshot of the window into the build tree, says
# where, and closes the program.
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

# As a user would, with the real mouse and keyboard, so that the shot shows both lists with their
# icons and the column rules in "New order:": the window's bottom edge dragged down to near the
# screen's, then the first 28 rows selected (Home, Shift+Down) and moved with Enter.
window=$(timeout 60 xdotool search --sync --limit 1 --onlyvisible --name "^Norvanta Clutterwise\$" ||
  true)
if [ -z "$window" ]; then
  echo "The program's window did not show." >&2
  exit 1
fi
eval "$(xdotool getdisplaygeometry --shell)"
screen_height=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$window")"
edge_x=$((X + WIDTH / 2)) edge_y=$((Y + HEIGHT - 2)) to_y=$((screen_height - 30))
if [ "$to_y" -gt "$edge_y" ]; then
  # Moved in two steps, as a hand moves: the system's sizing follows each step.
  xdotool mousemove "$edge_x" "$edge_y" mousedown 1 \
    mousemove "$edge_x" $(((edge_y + to_y) / 2)) sleep 0.3 mousemove "$edge_x" "$to_y" sleep 0.3 \
    mouseup 1
fi
xdotool windowfocus --sync "$window" key Home key --repeat 27 --delay 20 shift+Down key Return

sleep "${CLUTTERWISE_SHOT_DELAY:-6}"
shot="$build/screenshot.png"
[ "$dpi" != 96 ] && shot="$build/screenshot-${dpi}dpi.png"
import -window "$window" "$shot"
echo "Screenshot of the running program: $shot"
