#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file (.h, .cpp) differs from what clang-format-14
# makes of it under the repository's .clang-format. With --fix, formats them in place instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" clang-format-14 >&2
cd "$root"
git rev-parse --is-inside-work-tree >/dev/null # the tracked files are the ones checked
mapfile -d '' files < <(git ls-files -z -- '*.h' '*.cpp')
if [ "${1:-}" = --fix ]; then
  exec clang-format-14 -i -- "${files[@]}"
fi
unformatted=()
for f in "${files[@]}"; do
  clang-format-14 --dry-run --Werror -- "$f" 2>/dev/null || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says (${#unformatted[@]} of ${#files[@]} files):"
  printf '  %s\n' "${unformatted[@]}"
  echo "Format them with: scripts/check-format.sh --fix"
  exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
