# Sourced by the scripts that go over the sources. source_files prints, NUL-separated and relative
# to the repository's root (the current folder), the files that match any of the patterns given
# and none of those given with a leading "!". A pattern matches the whole path and its "*" crosses
# folders, as git's do: '*.h' is every header, 'tests/*' everything under tests/.
# In a git work tree the files are the tracked ones; in a tree without git (a source archive, or a
# machine without git) they are found on disk, leaving out the build trees and git's own folder.
source_files() {
  local include=() exclude=() pattern path
  for pattern in "$@"; do
    if [[ $pattern == '!'* ]]; then exclude+=("${pattern#!}"); else include+=("$pattern"); fi
  done
  if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- "${include[@]}" ${exclude[@]+"${exclude[@]/#/:!}"}
    return
  fi
  find . \( -path ./build -o -path ./.git \) -prune -o -type f -print0 | LC_ALL=C sort -z |
    while IFS= read -r -d '' path; do
      path=${path#./}
      for pattern in ${exclude[@]+"${exclude[@]}"}; do
        # shellcheck disable=SC2053 # the pattern is a pattern
        [[ $path == $pattern ]] && continue 2
      done
      for pattern in "${include[@]}"; do
        # shellcheck disable=SC2053
        if [[ $path == $pattern ]]; then
          printf '%s\0' "$path"
          break
        fi
      done
    done
}

# The time the sources stand for, in seconds since 1970, for whatever is made from them to carry
# instead of the time it was made: SOURCE_DATE_EPOCH when set, else the time of the last commit,
# else (without git) 1980-01-01, the earliest time a zip archive holds.
source_date_epoch() {
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
  elif command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git log -1 --format=%ct
  else
    echo 315532800
  fi
}
