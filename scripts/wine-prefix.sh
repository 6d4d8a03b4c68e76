#!/usr/bin/env bash
# Creates the private Wine prefix of a build tree and brings its settings up to date; does nothing
# when it is ready. The stamp holds the version of the settings, so that a prefix made by an older
# version of this script gets the newer settings on its next use.
# Usage: scripts/wine-prefix.sh <build-dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build directory required}
. "$here/wine-env.sh" "$build"
. "$here/session.sh"
version=2
stamp="$WINEPREFIX/.clutterwise-ready"
[ "$(cat "$stamp" 2>/dev/null)" = "$version" ] && exit 0

# An interrupted or failed set-up leaves no Wine process of its own behind.
session_begin wine-prefix
session_build=$build

if [ ! -f "$stamp" ]; then
  mkdir -p "$HOME"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi

# A fresh prefix links the user folders (Desktop, Documents, ...) to $HOME; make them real
# folders inside the prefix so that nothing can reach outside the build tree.
users="$WINEPREFIX/drive_c/users"
for profile in "$users"/*/; do
  for link in "$profile"* "$profile"AppData/Roaming/Microsoft/Windows/Templates; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
done

# Debian's Wine does not load the stand-ins for the Windows fonts (Tahoma, Marlett, ...) from
# where fonts-wine installs them: without them the dialog font falls back to whatever fontconfig
# lists first and the caption buttons show letters. Put them into the prefix's Fonts folder. The
# bitmap faces of "MS Sans Serif" stay out: they hold only one code page's characters, and Wine
# finds no fallback for a bitmap face, so other scripts showed as bars.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
  case "${font##*/}" in
    sserif*.fon | ssee*.fon | ssef*.fon | ms_sans_serif.ttf) ;;
    *) if [ -f "$font" ]; then cp -p "$font" "$fonts/"; fi ;;
  esac
done

# Without a window manager Wine waits 2 s on every DestroyWindow of a visible top-level window.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# The designs' "MS Sans Serif" is drawn with Tahoma, like the dialog font "MS Shell Dlg": Tahoma
# holds Latin, Cyrillic and Arabic. For CJK Wine links Tahoma to "MS UI Gothic" and a few other
# Windows faces by name (it writes Tahoma's SystemLink value itself, so a link set there does not
# last); naming a CJK font from Debian (fonts-wqy-microhei) as the substitute for "MS UI Gothic"
# gives Tahoma its fallback.
substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
wine reg add "$substitutes" /v 'MS Sans Serif' /t REG_SZ /d Tahoma /f >/dev/null 2>&1
wine reg add "$substitutes" /v 'MS UI Gothic' /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1

wineserver -w
echo "$version" >"$stamp"
session_build=""
