#!/usr/bin/env bash
# Prepares a Debian machine and the build tree: packages, Japanese locale, build, Wine prefix.
# Usage: scripts/setup.sh [build-dir]   (sourced by run.sh and test.sh)
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}

PACKAGES="cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth faketime googletest
          locales fonts-ipafont-gothic fonts-ipafont-mincho imagemagick zip unzip"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >"$BUILD.configure.log" 2>&1 || { cat "$BUILD.configure.log"; exit 1; }
cmake --build "$BUILD" -j"$(nproc)"

export WINEPREFIX="$BUILD/wineprefix"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating the Wine prefix $WINEPREFIX"
  wineboot -i >"$BUILD/wineboot.log" 2>&1 </dev/null || true
  wineserver -w
fi
# Without wine32 the prefix update never completes; stop Wine from redoing it at every start.
echo disable >"$WINEPREFIX/.update-timestamp"
