#!/usr/bin/env bash
# Runs the whole test suite several times, each run the way `make test` runs
# it (scripts/run-tests.sh: a fresh Wine session, ctest), and reports at the
# end every test that failed, by its gtest name, with the number of runs it
# failed in. With LOAD=1 a CPU hog per core runs for the whole time, so that
# tests which only pass on a quiet machine show themselves.
#
#   scripts/test-repeat.sh <build dir> <runs>     (make test-repeat N=10 [LOAD=1])
#
# The caller holds the Wine lock. Each run's ctest output and gtest XML
# reports stay in <build dir>/test-repeat/run-<n>/. Exits non-zero when any
# run failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/x64}
runs=${2:-10}
load=${LOAD:-0}
case $runs in
  '' | *[!0-9]* | 0) echo "test-repeat: the number of runs must be a whole number above 0, not '$runs'" >&2; exit 2 ;;
esac
case $load in
  0 | 1 | '') ;;
  *) echo "test-repeat: LOAD is 1 (a CPU hog per core) or 0, not '$load'" >&2; exit 2 ;;
esac
buildpath="$root/$build"
if [ ! -f "$buildpath/CTestTestfile.cmake" ]; then
  echo "test-repeat: no test build in $build (run make build first)" >&2
  exit 2
fi
. "$root/scripts/wine-env.sh"

out="$buildpath/test-repeat"
rm -rf "$out"
mkdir -p "$out"

hogs=()
suite=""
cleanup() {
  local pid
  # The suite first (its own process group: the script, ctest and the
  # programs ctest started), then its Wine session.
  if [ -n "$suite" ]; then
    kill -TERM -- "-$suite" 2>/dev/null
    wait "$suite" 2>/dev/null
    suite=""
  fi
  for pid in "${hogs[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${hogs[@]}"; do wait "$pid" 2>/dev/null; done
  hogs=()
  wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if [ "$load" = 1 ]; then
  cores=$(nproc)
  for ((i = 0; i < cores; i++)); do
    ( while :; do :; done ) &
    hogs+=("$!")
  done
  echo "test-repeat: $cores CPU hogs running (pids ${hogs[*]})"
fi

# "Suite.Test" for every test case with a failure in a gtest XML report
# (one <testcase> element per line, its <failure> elements inside it).
failed_cases() {
  awk '
    /^[ \t]*<testcase / {
      name = $0; sub(/.* name="/, "", name); sub(/".*/, "", name)
      suite = $0; sub(/.* classname="/, "", suite); sub(/".*/, "", suite)
      current = suite "." name
    }
    /^[ \t]*<failure / && current != "" && !(current in seen) { seen[current] = 1; print current }
  ' "$1"
}

declare -A failures  # name -> runs it failed in
green=0
red=0
for ((run = 1; run <= runs; run++)); do
  dir="$out/run-$run"
  mkdir -p "$dir"
  rm -f "$buildpath/Testing/Temporary/LastTestsFailed.log"
  started=$(date +%s)
  # gtest reads GTEST_OUTPUT (Wine passes the environment on) and writes
  # <program>.xml into the folder; Z: is Wine's drive for /.
  GTEST_OUTPUT="xml:Z:$dir/" setsid "$root/scripts/run-tests.sh" "$build" >"$dir/ctest.log" 2>&1 &
  suite=$!
  wait "$suite"
  status=$?
  suite=""
  took=$(($(date +%s) - started))

  names=()
  # Every test program that ctest counted as failed; its report names the
  # failing tests, or, when it crashed or timed out, the program stands in.
  if [ -f "$buildpath/Testing/Temporary/LastTestsFailed.log" ]; then
    while IFS=: read -r _ program; do
      [ -n "$program" ] || continue
      report="$dir/$program.xml"
      found=()
      [ -f "$report" ] && mapfile -t found < <(failed_cases "$report")
      if [ ${#found[@]} -gt 0 ]; then
        names+=("${found[@]}")
      else
        how=$(grep -E "Test +#[0-9]+: $program .*\*\*\*" "$dir/ctest.log" | sed -E 's/.*\*\*\*//; s/ +[0-9.]+ sec$//' | head -n 1)
        names+=("$program (${how:-Failed}; no failing test case in its gtest report)")
      fi
    done <"$buildpath/Testing/Temporary/LastTestsFailed.log"
  fi
  if [ "$status" -ne 0 ] && [ ${#names[@]} -eq 0 ]; then
    names+=("the suite itself (exit code $status; see $dir/ctest.log)")
  fi

  if [ ${#names[@]} -eq 0 ]; then
    green=$((green + 1))
    echo "test-repeat: run $run/$runs green (${took} s)"
  else
    red=$((red + 1))
    echo "test-repeat: run $run/$runs red (${took} s): ${names[*]}"
    for name in "${names[@]}"; do failures[$name]=$((${failures[$name]:-0} + 1)); done
  fi
done

cleanup
echo
echo "test-repeat: $runs runs$([ "$load" = 1 ] && echo " under load"): $green green, $red red"
if [ $red -gt 0 ]; then
  for name in "${!failures[@]}"; do
    printf '%s\t%s\n' "${failures[$name]}" "$name"
  done | sort -t$'\t' -k1,1nr -k2 | while IFS=$'\t' read -r count name; do
    echo "  failed in $count of $runs runs: $name"
  done
  echo "test-repeat: logs and reports in $build/test-repeat/run-<n>/"
  exit 1
fi
