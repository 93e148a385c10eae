# Sourced: starts the project's Wine session (server and its service
# processes) detached from our output, and stops it when the shell exits.
# Without this, Wine's service processes start under the first program that
# runs and inherit its output pipes, and whoever reads those pipes (ctest)
# waits for them forever.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
unset DISPLAY
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1 </dev/null
wine64 cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
