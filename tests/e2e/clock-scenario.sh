#!/usr/bin/env bash
# Runs one scenario of the real program under a shifted clock: the program alone runs under
# faketime; the test driver, under the real clock, injects input and reads the day files.
# Usage: clock-scenario.sh BIN_DIR slot|midnight
set -u
. "$(dirname "${BASH_SOURCE[0]}")/program-run.sh"
BIN=$1
SCENARIO=$2
DIR="$BIN/e2e/clock_$SCENARIO"
rm -rf "$DIR"
mkdir -p "$DIR"
cp "$BIN/vantle.exe" "$BIN/hookdll.dll" "$BIN/TransG32.DLL" "$DIR/"
now=$(date +%s)
case $SCENARIO in
  slot)     target=$(date -d "today 10:05:48" +%s); test=InputBeforeTheSlotChangeLandsInSlot100 ;;
  midnight) target=$(( $(date -d "tomorrow 00:00:00" +%s) - 14 )); test=RunAcrossMidnight ;;
  *) echo "unknown scenario $SCENARIO" >&2; exit 2 ;;
esac
offset=$((target - now))
shift_spec=$(clock_shift $offset)
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f "$shift_spec" wine "$DIR/vantle.exe" >"$DIR/program.log" 2>&1 </dev/null &
program=$!
folder=$(winepath -w "$DIR" 2>/dev/null)
VANTLE_CLOCK_SCENARIO=$SCENARIO VANTLE_CLOCK_OFFSET=$offset VANTLE_CLOCK_FOLDER="$folder\\" \
  wine "$BIN/e2e_tests.exe" --gtest_filter="FakeClock.$test" --gtest_color=no >"$DIR/driver.log" 2>&1 </dev/null
finish_run $? $program "$DIR/driver.log"
