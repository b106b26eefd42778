#!/usr/bin/env bash
# Builds the program and starts it under Wine on the user's X display.
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no X display (DISPLAY is not set). Vantle lives in the tray of a desktop;" >&2
  echo "run: start it from an X session, or run the tests with scripts/test.sh." >&2
  exit 1
fi
"$ROOT/scripts/setup.sh" "$BUILD"
export WINEPREFIX="$BUILD/wineprefix"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The tests leave the prefix's windows unmanaged; on a desktop the window manager takes them.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >"$BUILD/wine-reg.log" 2>&1 </dev/null
echo "run: starting Vantle; its icon is in the tray (end it from the icon's menu)."
exec wine "$BUILD/bin/vantle.exe" >"$BUILD/vantle-run.log" 2>&1 </dev/null
