# Sourced by the scripts: the environment of the project's headless Wine prefix.
_pim_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export PATH=/usr/lib/wine:$PATH
export WINEPREFIX=${PIM_WINEPREFIX:-$_pim_root/build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
