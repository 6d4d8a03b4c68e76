#!/usr/bin/env bash
# Runs a command on a private X display of its own, of the given size, started and stopped by its
# own PID: for a check that needs a screen of that size while the other tests share a larger one.
# Usage: scripts/on-screen.sh <width>x<height>x<depth> <command> [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export CLUTTERWISE_SCREEN=${1:?screen size required, e.g. 1280x1024x24}
shift
. "$here/session.sh"
trap private_display_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
private_display_start
"$@"
