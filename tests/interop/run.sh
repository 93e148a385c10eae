#!/usr/bin/env bash
# Interoperability of the library's import and export files with readers and
# writers that are not ours: Debian's openpyxl, xlrd, xlwt and vobject, and
# xmllint. Skipped (exit 77) with a clear message when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:?usage: run.sh <folder of HandsetGen.exe and HandsetPort.exe>}
py=/usr/bin/python3  # Debian's Python, where Debian's packages are
if [ ! -x "$py" ] || ! "$py" -c 'import openpyxl, xlrd, xlwt, vobject' 2>/dev/null || ! command -v xmllint >/dev/null; then
  echo "SKIPPED: the third-party readers are not installed (Debian packages python3-openpyxl python3-xlrd" \
       "python3-xlwt python3-vobject libxml2-utils; scripts/setup.sh installs them)"
  exit 77
fi
exec "$py" "$root/tests/interop/check_files.py" "$root" "$bin"
