#!/usr/bin/env bash
# Runs every benchmark program (build/x64/bin/bench_*.exe) through Wine and
# prints their figures. Figures depend on the machine; run on a quiet one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/x64}
. "$root/scripts/wine-session.sh"
cd "$root/$build/bin"
shopt -s nullglob
for program in bench_*.exe; do
  echo "== $program"
  wine64 "./$program"
done
