#!/usr/bin/env bash
# Installs what the build, the tests and the scripts need on a Debian machine (and any packages
# named as arguments); does nothing when all is there. Beyond what every Debian system has, the
# scripts call git (the source list), python3 (the release archive, the icons) and ps (procps).
set -euo pipefail
packages=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          wine wine64 fonts-wine fonts-wqy-microhei xvfb xauth x11-utils imagemagick googletest
          xdotool git python3 procps "$@")
# Run as root, Wine lets every write through: the tests that need the file system to refuse one
# for real run their program as this unprivileged user (scripts/wine-as-user). Made only when
# the tests run as root, as CI runs them; run as another user they are skipped.
test_user=clutterwise-test
if [ "$(id -u)" -eq 0 ] && ! id -u "$test_user" >/dev/null 2>&1; then
  # Another set-up running at the same time may have made it first.
  useradd --system --user-group --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin "$test_user" 2>/dev/null || id -u "$test_user" >/dev/null
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
