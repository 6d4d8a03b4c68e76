#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the sources (.h, .cpp: the tracked ones, or without
# git those on disk outside build/) differs from what clang-format-14 makes of it under the
# repository's .clang-format. With --fix, formats them in place instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" clang-format-14 >&2
cd "$root"
. "$root/scripts/sources.sh"
mapfile -d '' files < <(source_files '*.h' '*.cpp')
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
