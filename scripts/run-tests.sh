#!/usr/bin/env bash
# Runs every test program through Wine, headless, in one Wine session kept
# alive for the whole run (a fresh session per program costs about a second).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/x64}
. "$root/scripts/wine-session.sh"
cd "$root/$build"
ctest --output-on-failure -j "${JOBS:-2}"
