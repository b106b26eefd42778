#!/usr/bin/env bash
# Builds the program and packs the release: <build-dir>/package/vantle-<version>.zip holding the
# folder Vantle/ with the stripped program, its two libraries and the Japanese read-me
# (code page 932, CRLF line ends), as a user unpacks and starts it.
# Usage: scripts/package.sh [--no-build] [build-dir]
#   --no-build  pack what build-dir already holds, without set-up and build (for the test run,
#               which runs inside a tree that is built already)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=1
if [ "${1:-}" = "--no-build" ]; then
  build=0
  shift
fi
BUILD=${1:-$ROOT/build}
die() { echo "package: $*" >&2; exit 1; }

if [ $build -eq 1 ]; then
  "$ROOT/scripts/setup.sh" "$BUILD"
fi
[ -d "$BUILD/bin" ] || die "$BUILD/bin does not exist; build first (run without --no-build)"
BUILD=$(cd "$BUILD" && pwd)
for tool in zip x86_64-w64-mingw32-strip x86_64-w64-mingw32-objdump iconv; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup.sh installs it)"
done

# The version is the one the program shows in its title.
VERSION=$(sed -n 's/^ *X(TextTitle, L".*Version \([0-9][0-9.]*\)", L".*$/\1/p' "$ROOT/res/texts.h")
[ -n "$VERSION" ] || die "no version found in the title in res/texts.h"

OUT=$BUILD/package
STAGE=$OUT/stage
ZIP=$OUT/vantle-$VERSION.zip
# A failed run must not leave an older package behind that looks like this run's.
rm -rf "$STAGE"
rm -f "$OUT"/vantle-*.zip
mkdir -p "$STAGE/Vantle"

BINARIES="vantle.exe hookdll.dll TransG32.DLL"
for file in $BINARIES; do
  [ -f "$BUILD/bin/$file" ] || die "$BUILD/bin/$file is missing; the build did not make it"
  cp "$BUILD/bin/$file" "$STAGE/Vantle/$file"
  x86_64-w64-mingw32-strip --strip-all "$STAGE/Vantle/$file"
done

# The package must run on a bare Windows machine, where no MinGW runtime DLL is installed: every
# import must be a system library or our own hook library. The MinGW runtime DLLs are all named
# lib* (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll, ...); no Windows library is.
for file in $BINARIES; do
  imports=$(x86_64-w64-mingw32-objdump -p "$STAGE/Vantle/$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
  runtime=$(grep -i '^lib.*\.dll$' <<<"$imports" | tr '\n' ' ' || true)
  [ -z "$runtime" ] || die "$file needs MinGW runtime DLLs: $runtime(link it statically)"
  echo "package: $file imports $(tr '\n' ' ' <<<"$imports")"
done

iconv -f UTF-8 -t CP932 "$ROOT/docs/user-readme-ja.txt" | sed 's/\r$//; s/$/\r/' >"$STAGE/Vantle/README-ja.txt" \
  || die "docs/user-readme-ja.txt does not convert to code page 932"

# -X leaves out Unix owners and extra times, which mean nothing on Windows.
(cd "$STAGE" && zip -X -q -r "$ZIP.part" Vantle) || die "zip failed"
mv "$ZIP.part" "$ZIP"
rm -rf "$STAGE"
unzip -l "$ZIP"
echo "package: wrote $ZIP"
