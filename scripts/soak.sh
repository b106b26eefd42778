#!/usr/bin/env bash
# The soak: the real program for three days and more of its own clock, run two hundred times as
# fast (about 25 minutes), under a steady stream of injected input; afterwards every day file is
# checked against the input and the program's object counts against their earlier values.
# Usage: scripts/soak.sh [--short] [--no-build]
#   --short     one midnight instead of four (about a minute; the test suite runs this one)
#   --no-build  use the build tree as it is (BUILD selects it, as for test.sh)
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
kind=long
build=1
for arg in "$@"; do
  case $arg in
    --short) kind=short ;;
    --no-build) build=0 ;;
    *) sed -n '2,8p' "$0" >&2; exit 2 ;;
  esac
done
if [ $build = 1 ]; then "$ROOT/scripts/setup.sh" "$BUILD"; fi
# A prefix of its own: the soak injects input into its Wine desktop, which must not reach (or
# be disturbed by) test runs in the build's prefix meanwhile.
export WINEPREFIX="$BUILD/wineprefix-soak"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  [ -f "$BUILD/wineprefix/system.reg" ] || { echo "soak: no Wine prefix in $BUILD; run scripts/setup.sh" >&2; exit 1; }
  cp -r "$BUILD/wineprefix" "$WINEPREFIX"
fi
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A driver that crashes ends with Wine's report in its log, not on a crash box nobody sees.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
wineserver -w
echo "soak: $kind run, started $(date +%T); the driver's report follows at the end."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p >/dev/null 2>&1 </dev/null
  bash "$1" "$2" "$3"; rc=$?
  wineserver -k >/dev/null 2>&1 </dev/null
  exit $rc' soak "$ROOT/tests/e2e/soak-run.sh" "$BUILD/bin" "$kind" && rc=0 || rc=$?
if [ $rc = 0 ]; then echo "soak: passed ($(date +%T))"; else echo "soak: FAILED ($(date +%T))"; fi
exit $rc
