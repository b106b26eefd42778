#!/usr/bin/env bash
# Confirms with ImageMagick that each file is a whole JPEG or PNG picture of the type its name
# ends in (.jpg/.jpeg or .png, any case), optionally of a given size.
#   check-pictures.sh [--size WIDTHxHEIGHT] FILE...
# Prints one line a file; exits 1 when any file is not what its name says, 2 on wrong use.
set -u
usage() { echo "usage: $0 [--size WIDTHxHEIGHT] FILE..." >&2; exit 2; }

size=""
if [ "${1:-}" = "--size" ]; then
  [ $# -ge 2 ] || usage
  size=$2
  shift 2
  [[ $size =~ ^[0-9]+x[0-9]+$ ]] || usage
fi
[ $# -ge 1 ] || usage
command -v identify >/dev/null || { echo "identify (ImageMagick) is not installed" >&2; exit 2; }

failed=0
for file in "$@"; do
  lower=$(printf '%s' "$file" | tr 'A-Z' 'a-z')
  case $lower in
    *.jpg|*.jpeg) want=JPEG ;;
    *.png)        want=PNG ;;
    *) echo "FAIL $file: the name ends in neither .jpg, .jpeg nor .png"; failed=1; continue ;;
  esac
  if [ ! -f "$file" ]; then
    echo "FAIL $file: no such file, or not a plain file"; failed=1; continue
  fi
  # The pixel signature (%#) makes identify decode the whole image, not just its header;
  # with -regard-warnings a truncated or damaged file fails instead of passing with a warning.
  # The "[0]" suffix keeps a name with brackets from being read as a frame selection.
  if ! info=$(identify -regard-warnings -format '%m %w %h %#\n' -- "$file[0]" 2>&1); then
    echo "FAIL $file: ${info:-identify could not read it}" | head -n 1; failed=1; continue
  fi
  read -r type width height _ <<<"$info"
  if [ "$type" != "$want" ]; then
    echo "FAIL $file: $type data, the name says $want"; failed=1; continue
  fi
  if [ -n "$size" ] && [ "${width}x${height}" != "$size" ]; then
    echo "FAIL $file: ${width}x${height}, expected $size"; failed=1; continue
  fi
  echo "ok   $file: $type ${width}x${height}"
done
exit $failed
