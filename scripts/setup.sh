#!/usr/bin/env bash
# Installs what the build, the tests and the scripts need on a Debian machine (and any packages
# named as arguments); does nothing when all is there. Beyond what every Debian system has, the
# scripts call git (the source list), python3 (the release archive, the icons) and ps (procps).
set -euo pipefail
packages=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          wine wine64 fonts-wine fonts-wqy-microhei xvfb xauth x11-utils imagemagick googletest
          xdotool git python3 procps "$@")
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
