#!/usr/bin/env bash
# The private prefix's user folders are real folders inside the build tree, not links to $HOME.
set -euo pipefail
build=$(cd "$1" && pwd)
"$(dirname "$0")/../../scripts/wine-prefix.sh" "$build"
status=0
for folder in "$build"/wine/prefix/drive_c/users/*/*; do
  real=$(realpath "$folder")
  if [ -L "$folder" ] || [[ "$real" != "$build"/* ]]; then
    echo "not a private folder: $folder -> $real"; status=1
  fi
done
[ -d "$build/wine/prefix/drive_c/users/$(id -un)/Desktop" ] || { echo "no Desktop folder"; status=1; }
exit $status
