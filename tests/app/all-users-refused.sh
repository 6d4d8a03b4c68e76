#!/usr/bin/env bash
# The elevated step refused for real. Run as root, Wine lets every write through, so the step's
# test program runs as the unprivileged user clutterwise-test (scripts/wine-as-user), in that
# user's own prefix, on an all-users desktop as Windows has it: the folder and its shortcuts
# belong to someone else (root). Each shortcut must come back "access denied", a link planted
# there to a file the user owns "outside"; and nothing there, nor the link's target, may change.
# The same set-up serves the real program's question (test_e2e's AllUsersAsUser tests).
# Usage: all-users-refused.sh <build-dir> <test program.exe> [<gtest filter> [arguments...]]
set -euo pipefail
build=$(cd "$1" && pwd)
program=$2
filter=${3:-RefusedForReal.*}
shift $(($# < 3 ? $# : 3))
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
user=clutterwise-test
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: only root can run the test as another user (CI runs the tests as root)"
  exit 77
fi
# A build tree below a folder other users cannot enter (a home folder of mode 700) is out of the
# user's reach: nothing to run there.
if id -u "$user" >/dev/null 2>&1 &&
  ! setpriv --reuid="$user" --regid="$user" --init-groups test -r "$program" -a -x "$build"; then
  echo "skipped: $user cannot reach $build (a folder above it is not searchable by others)"
  exit 77
fi
"$scripts/wine-as-user" "$build" # the user's prefix, ready
prefix="$build/wine-user/prefix/drive_c"
desktop="$prefix/users/Public/Desktop"
target="$prefix/users/$user/Target.lnk"

rm -rf "$desktop" "$target"
mkdir -p "$desktop"
for name in 'Root owned.lnk' 'Web.url' 'Old.pif' '日本語.lnk'; do
  printf 'x' >"$desktop/$name"
done
printf 'x' >"$target"
chown "$user:" "$target"
ln -s "$target" "$desktop/Planted.lnk"
touch -h -d '2020-01-02 03:04:05' "$desktop"/* "$target"
chown -h root:root "$desktop" "$desktop"/*
chmod 755 "$desktop"
chmod 644 "$desktop"/*.lnk "$desktop"/*.url "$desktop"/*.pif "$target"

# The folder's own access time moves when a program lists it, as the real program does. The
# window also looks the shortcuts' icons up, which reads them: a file the program may not write
# back the access time of (root's) gets it moved as by any reader, and the one it may (the user's
# own target) keeps it but gets a new status-change time. A stamp would move the write time.
state() {
  stat -c '%n %U %s %Y %Z' "$desktop"
  stat -c '%n %U %s %Y' "$desktop"/* "$target"
}
before=$(state)
status=0
"$scripts/wine-as-user" "$build" "$program" --gtest_color=no --gtest_filter="$filter" "$@" ||
  status=$?
after=$(state)
if [ "$before" != "$after" ]; then
  echo "changed by the step:"
  diff <(echo "$before") <(echo "$after") || true
  status=1
fi
exit "$status"
