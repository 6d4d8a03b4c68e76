# Sourced by the other scripts: points Wine at the private prefix of one build tree.
# Usage: . scripts/wine-env.sh <build-dir>
# Nothing here may ever fall back to the default prefix, whose Desktop is the Linux home folder.
_cw_build=$(cd "${1:?build directory required}" && pwd)
export WINEPREFIX="$_cw_build/wine/prefix"
export HOME="$_cw_build/wine/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
unset _cw_build
