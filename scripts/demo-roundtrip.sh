#!/usr/bin/env bash
# The demo's round trip: every contact and every message of a handset file
# exported in every format with the library's own code (HandsetPort.exe),
# imported into an empty handset, and compared record by record with what a
# user sees of them. Runs inside the demo's Wine session.
set -euo pipefail
bin=$1
sample=$2
work=$(dirname "$sample")/roundtrip
rm -rf "$work"
mkdir -p "$work"
win() { local path=$1; echo "Z:${path//\//\\}"; }
port() { wine64 "$bin/HandsetPort.exe" "$@"; }

status=0
for what in contacts messages; do
  port dump --handset "$(win "$sample")" --what "$what" | sort >"$work/$what-sample.txt"
  formats="xml xlsx xls"
  [ "$what" = contacts ] && formats="$formats vcard"
  for format in $formats; do
    out="$work/$what.$format"
    [ "$format" = vcard ] && mkdir -p "$out"
    port export --handset "$(win "$sample")" --what "$what" --format "$format" --out "$(win "$out")" >/dev/null
    port import --handset "$(win "$work/$what-$format.dat")" --what "$what" --format "$format" \
      --in "$(win "$out")" >/dev/null
    port dump --handset "$(win "$work/$what-$format.dat")" --what "$what" | sort >"$work/$what-$format.txt"
    total=$(wc -l <"$work/$what-sample.txt")
    if cmp -s "$work/$what-sample.txt" "$work/$what-$format.txt"; then
      echo "demo: $what as $format: all $total came back as they were"
    else
      echo "demo: $what as $format: differences (diff $work/$what-sample.txt $work/$what-$format.txt):"
      diff "$work/$what-sample.txt" "$work/$what-$format.txt" | head -5 || true
      status=1
    fi
  done
done
exit $status
