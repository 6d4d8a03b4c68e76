#!/usr/bin/env bash
# Checks the release archive: writes it with scripts/package.sh, then fails unless it holds
# exactly clutterwise.exe, README.txt, LICENSE.txt and CHANGES.txt, each entry reads back whole,
# and `sha256sum -c` accepts the checksum beside it.
# With --reproducible it then packages a copy of the sources that lies elsewhere (build/reproduce/:
# another source path and another build path) and fails unless both archives and both checksum
# files are the same bytes. The copy holds the files scripts/sources.sh lists (with git, the
# tracked ones as they are on disk) and keeps its build tree, so later checks build only what
# changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/sources.sh
# The copy has no git: both take the time of the sources from here.
SOURCE_DATE_EPOCH=$(source_date_epoch)
export SOURCE_DATE_EPOCH

archive=$(scripts/package.sh)
(cd "$(dirname "$archive")" && sha256sum -c "${archive##*/}.sha256")
python3 - "$archive" <<'PY'
import sys, zipfile

expected = ["clutterwise.exe", "README.txt", "LICENSE.txt", "CHANGES.txt"]
with zipfile.ZipFile(sys.argv[1]) as z:
    names = z.namelist()
    if names != expected:
        sys.exit(f"{sys.argv[1]} holds {names}, not {expected}")
    damaged = z.testzip()
    if damaged:
        sys.exit(f"{sys.argv[1]}: {damaged} does not read back")
    for info in z.infolist():
        print(f"  {info.filename:16} {info.file_size:>9} bytes, {info.compress_size:>9} packed")
PY
ls -l "$archive" "$archive.sha256"

if [ "${1:-}" = --reproducible ]; then
  copy="$root/build/reproduce"
  mkdir -p "$copy"
  find "$copy" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
  # Times kept, so that make rebuilds in the copy only what changed here.
  source_files '*' | xargs -0 cp -p --parents -t "$copy"
  again=$("$copy/scripts/package.sh")
  if ! cmp "$archive" "$again" || ! cmp "$archive.sha256" "$again.sha256"; then
    echo "Not reproducible: $archive and $again differ."
    exit 1
  fi
  echo "Reproducible: $again has the same bytes."
fi
