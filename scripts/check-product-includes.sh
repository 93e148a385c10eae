#!/usr/bin/env bash
# Fails when product code includes a header of the suite stand-ins: the
# plug-in is built against the suite's real libraries, whose contracts are
# frame/suite/*.h and content/*.h; standins/ exists only here.
#
#   scripts/check-product-includes.sh [project folder]
#
# An include is resolved the way the compilers of this project look it up:
# "x.h" beside the including file first, then from the project folder (every
# target's include folder); a header found in neither that exists under a
# folder of standins/ would come from there through an extra include folder,
# so it counts as a stand-in header too. Tests and the control gallery (a
# development program that shows the stand-in resource library's images) are
# not product code.
set -u
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root" || exit 2

product_folders="framework frame content contact message calendar controls"
mapfile -t standin_folders < <(find standins -type d -not -path '*/data*' | sort)

resolve() {  # <including file> <header> <quote|angle>
  local file=$1 header=$2 form=$3 folder
  if [ "$form" = quote ] && [ -f "$(dirname "$file")/$header" ]; then
    realpath -m --relative-to="$root" "$(dirname "$file")/$header"
  elif [ -f "$header" ]; then
    realpath -m --relative-to="$root" "$header"
  else
    for folder in "${standin_folders[@]}"; do
      if [ -f "$folder/$header" ]; then
        echo "$folder/$header"
        return
      fi
    done
  fi
}

checked=0
failures=0
while IFS= read -r file; do
  checked=$((checked + 1))
  while IFS= read -r hit; do
    line=${hit%%:*}
    text=${hit#*:}
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      header=${BASH_REMATCH[1]} form=quote
    elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      header=${BASH_REMATCH[1]} form=angle
    else
      continue
    fi
    resolved=$(resolve "$file" "$header" "$form")
    case "$resolved" in
      standins/*)
        echo "$file:$line: includes the stand-in header $resolved"
        failures=$((failures + 1))
        ;;
    esac
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find $product_folders -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.inl' -o -name '*.c' -o -name '*.cpp' -o -name '*.rc' \) \
           -not -path '*/tests/*' -not -path 'controls/gallery/*' | sort)

if [ "$checked" -eq 0 ]; then
  echo "no product sources found under $root" >&2
  exit 2
fi
if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) of stand-in headers in product code ($checked files checked)" >&2
  exit 1
fi
echo "$checked product files include no stand-in header"
