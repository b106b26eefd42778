#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual X display.
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
"$ROOT/scripts/setup.sh" "$BUILD"
export WINEPREFIX="$BUILD/wineprefix"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$BUILD"
# No window manager runs on the virtual display, and a managed window waits about two seconds
# for one at every show and destroy: the tests' windows are unmanaged (run.sh manages them again).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$BUILD/wine-reg.log" 2>&1 </dev/null
# A test program that crashes ends with Wine's report in its output, instead of waiting for the
# time-out on Wine's crash box, which nobody sees on the virtual display.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$BUILD/wine-reg.log" 2>&1 </dev/null
wineserver -w
# One display and one wineserver for the whole run; both end with it.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p >/dev/null 2>&1 </dev/null
  ctest --output-on-failure "$@"; rc=$?
  wineserver -k >/dev/null 2>&1 </dev/null
  exit $rc' ctest "$@"
