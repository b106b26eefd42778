#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual X display.
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
"$ROOT/scripts/setup.sh" "$BUILD"
export WINEPREFIX="$BUILD/wineprefix"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$BUILD"
# One display and one wineserver for the whole run; both end with it.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p >/dev/null 2>&1 </dev/null
  ctest --output-on-failure "$@"; rc=$?
  wineserver -k >/dev/null 2>&1 </dev/null
  exit $rc' ctest "$@"
