#!/usr/bin/env bash
# Creates the private Wine prefix of a build tree once; does nothing when it is ready.
# Usage: scripts/wine-prefix.sh <build-dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build directory required}
. "$here/wine-env.sh" "$build"
stamp="$WINEPREFIX/.clutterwise-ready"
[ -f "$stamp" ] && exit 0

# An interrupted or failed set-up leaves no Wine process of its own behind (scripts/wine-wait).
export CLUTTERWISE_OWNER="wine-prefix-$$-$RANDOM$RANDOM"
finished=0
wait_prefix() {
  [ "$finished" = 1 ] || "$here/wine-wait" "$build" "$CLUTTERWISE_OWNER" || true
}
trap wait_prefix EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mkdir -p "$HOME"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

# A fresh prefix links the user folders (Desktop, Documents, ...) to $HOME; make them real
# folders inside the prefix so that nothing can reach outside the build tree.
users="$WINEPREFIX/drive_c/users"
for profile in "$users"/*/; do
  for link in "$profile"* "$profile"AppData/Roaming/Microsoft/Windows/Templates; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
done

# Without a window manager Wine waits 2 s on every DestroyWindow of a visible top-level window.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
touch "$stamp"
finished=1
