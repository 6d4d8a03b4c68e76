# Sourced by the scripts that start Wine programs or a display of their own, so that each of them
# leaves no process behind and touches nothing it did not start.
#
#   session_begin <name>    marks everything started from then on as this script's
#                           (CLUTTERWISE_OWNER) and stops what was started on every way out (end,
#                           failure, Ctrl+C, hang-up), in this order:
#                             - the function named in session_stop_first, if set (the script's own);
#                             - the Wine processes of the build tree named in session_build, if set
#                               (scripts/wine-wait: they end by themselves, else those carrying the
#                               mark are stopped by their PIDs); before the display goes;
#                             - the private display, if one was started.
#   private_display_start   starts a private Xvfb by its own PID and exports DISPLAY; other X
#                           servers on the machine are never touched.

session_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
session_build=""
session_stop_first=""
private_display_pid=""

session_begin() {
  export CLUTTERWISE_OWNER="$1-$$-$RANDOM$RANDOM"
  trap session_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
}

session_end() {
  local status=$?
  if [ -n "$session_stop_first" ]; then "$session_stop_first" || true; fi
  if [ -n "$session_build" ]; then
    "$session_scripts/wine-wait" "$session_build" "$CLUTTERWISE_OWNER" || true
  fi
  private_display_stop
  exit "$status"
}

# Xvfb picks a free display number itself (-displayfd), so parallel runs cannot race for one.
private_display_start() {
  local dir number=""
  dir=$(mktemp -d)
  mkfifo "$dir/number"
  Xvfb -displayfd 3 -screen 0 "${CLUTTERWISE_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$dir/number" >/dev/null 2>&1 &
  private_display_pid=$!
  read -r number <"$dir/number" || true
  rm -rf "$dir"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# Safe to call on any way out, also when the server never started.
private_display_stop() {
  if [ -n "$private_display_pid" ]; then
    kill "$private_display_pid" 2>/dev/null || true
    wait "$private_display_pid" 2>/dev/null || true
    private_display_pid=""
  fi
}
