#!/usr/bin/env bash
# Builds the program as it ships (the release preset, in build/release) and writes the archive a
# Windows user downloads, build/dist/clutterwise-<version>-windows-x64.zip, holding clutterwise.exe,
# README.txt, LICENSE.txt and CHANGES.txt (the texts with Windows line ends, for Notepad), and
# beside it its SHA-256 in the form `sha256sum -c` reads. The version is project()'s, as the
# configure step wrote it into the program's resources. Prints the archive's path.
#
# The same sources give the same bytes: the program holds no build path and no link time, and the
# archive's entries carry one fixed time (scripts/sources.sh, source_date_epoch) in a fixed order.
# scripts/check-package.sh --reproducible checks it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2
cd "$root"
. scripts/sources.sh
cmake --preset release -Wno-dev >/dev/null
cmake --build --preset release -j "$(nproc)" >&2

build="$root/build/release"
version=$(sed -n 's/^#define CLUTTERWISE_VERSION_TEXT "\(.*\)"$/\1/p' "$build/app/version.h")
[ -n "$version" ] || { echo "no version in $build/app/version.h" >&2; exit 1; }
name="clutterwise-$version-windows-x64.zip"
dist="$root/build/dist"
rm -rf "$dist"
mkdir -p "$dist"

python3 - "$dist/$name" "$(source_date_epoch)" "$version" \
  clutterwise.exe="$build/app/clutterwise.exe" README.txt=package/README.txt \
  LICENSE.txt=LICENSE CHANGES.txt=CHANGES.md <<'PY'
import sys, time, zipfile

archive, epoch, version, *entries = sys.argv[1:]
# A zip holds local times from 1980 on, to two seconds; the same time for every entry.
when = time.gmtime(max(int(epoch), 315532800))[:6]
with zipfile.ZipFile(archive, "w") as z:
    for entry in entries:
        name, path = entry.split("=", 1)
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".txt"):
            data = data.replace(b"@VERSION@", version.encode())
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        info = zipfile.ZipInfo(name, when)
        info.create_system = 3  # Unix: the permissions below, read by unzip on Linux
        info.external_attr = 0o100644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
PY
(cd "$dist" && sha256sum "$name" >"$name.sha256")
echo "$dist/$name"
