#!/usr/bin/env bash
# Starts the host with the plug-in. With a DISPLAY the window opens there (in
# a second Wine prefix that uses the X11 driver); without one the host runs
# headless, saves screenshots of its window to build/screens/ and exits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/x64}
bin="$root/$build/bin"
screens="$root/build/screens"

if [ -n "${DISPLAY:-}" ]; then
  export PIM_WINEPREFIX="$root/build/wine-x11" PIM_WINE_GRAPHICS=x11
  "$root/scripts/setup.sh"
  . "$root/scripts/wine-env.sh"
  exec wine64 "$bin/TamixShell.exe"
fi

mkdir -p "$screens"
rm -f "$screens"/*.png
. "$root/scripts/wine-session.sh"
screens_win="Z:${screens//\//\\}"  # Wine maps / to drive Z:
script="wait 1500; shot 01-contacts; tab 1; wait 300; shot 02-messages; tab 2; wait 300; shot 03-calendar; tab 0"
script="$script; lang zhcn; wait 800; shot 04-contacts-zh-cn; lang zhtw; wait 800; shot 05-contacts-zh-tw; lang en"
script="$script; size 1280 720; wait 500; shot 06-wide; disconnect; wait 300; shot 07-disconnected; connect; exit"
echo "demo: running the host headless; screenshots go to build/screens/"
wine64 "$bin/TamixShell.exe" --screens "$screens_win" --script "$script"
ls -1 "$screens"/*.png
