# Sourced by the scripts that need a display of their own: a private Xvfb, started and stopped by
# its own PID, so that other X servers on the machine are never touched.
# Usage: . scripts/private-display.sh; private_display_start; ...; private_display_stop

private_display_pid=""

# Starts the X server and exports DISPLAY; Xvfb picks a free display number itself (-displayfd),
# so parallel runs cannot race for one.
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
