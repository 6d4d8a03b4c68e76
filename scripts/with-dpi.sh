#!/usr/bin/env bash
# Runs a command with the private prefix of a build tree set to another scale, then puts the
# prefix back at 96 dpi, also when the command fails or is interrupted.
# Usage: scripts/with-dpi.sh <build-dir> <dpi> <command> [arguments...]
#
# Wine reports the value LogPixels under HKCU\Control Panel\Desktop as the screen's DPI, read when
# the prefix's server starts: the server is stopped after each change. Stopping it ends every
# program of the prefix, so nothing else may run in the prefix meanwhile (CTest: RUN_SERIAL).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build directory required}
dpi=${2:?dpi required}
shift 2
"$here/wine-prefix.sh" "$build"
. "$here/wine-env.sh" "$build"

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
"$@"
