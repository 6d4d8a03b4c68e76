# Sourced by the other scripts: points Wine at the private prefix of one build tree.
# Usage: . scripts/wine-env.sh <build-dir>
# Nothing here may ever fall back to the default prefix, whose Desktop is the Linux home folder.
# CLUTTERWISE_WINE_DIR names the folder of the build tree that holds the prefix and its home
# ("wine"; scripts/wine-as-user gives its user one of its own).
_cw_build=$(cd "${1:?build directory required}" && pwd)
case "${CLUTTERWISE_WINE_DIR:-wine}" in
  */* | . | ..) echo "CLUTTERWISE_WINE_DIR must name a folder of the build tree" >&2; return 1 ;;
esac
_cw_wine="$_cw_build/${CLUTTERWISE_WINE_DIR:-wine}"
export WINEPREFIX="$_cw_wine/prefix"
export HOME="$_cw_wine/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
unset _cw_build _cw_wine
