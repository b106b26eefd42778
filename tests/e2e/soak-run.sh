#!/usr/bin/env bash
# Runs the soak: the real program alone under a clock RATE times as fast as the real one, started
# at 23:30 of its first day; the test driver, under the real clock, injects input for SECONDS
# real seconds, ends the program and checks the day files.
# Usage: soak-run.sh BIN_DIR short|long
#   short: two hours of the program's clock with one midnight (under a minute of real time)
#   long:  three days and more with four midnights (about 22 minutes)
set -u
. "$(dirname "${BASH_SOURCE[0]}")/program-run.sh"
BIN=$1
KIND=$2
RATE=200
case $KIND in
  short) SECONDS_OF_INPUT=36;   ROLLOVERS=1 ;;
  long)  SECONDS_OF_INPUT=1310; ROLLOVERS=3 ;;
  *) echo "usage: soak-run.sh BIN_DIR short|long" >&2; exit 2 ;;
esac
DIR="$BIN/e2e/soak_$KIND"
rm -rf "$DIR"
mkdir -p "$DIR"
# The driver runs from a copy too: a rebuild during a long soak must not replace it.
cp "$BIN/vantle.exe" "$BIN/hookdll.dll" "$BIN/TransG32.DLL" "$BIN/e2e_tests.exe" "$DIR/"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
folder=$(winepath -w "$DIR" 2>/dev/null)

# The driver starts first, so that Wine's own processes (desktop, tray, services) start under
# the real clock; it watches the data folder before the program makes its first file.
VANTLE_SOAK_FOLDER="$folder\\" VANTLE_SOAK_RATE=$RATE VANTLE_SOAK_SECONDS=$SECONDS_OF_INPUT \
VANTLE_SOAK_ROLLOVERS=$ROLLOVERS \
  wine "$DIR/e2e_tests.exe" --gtest_filter="Soak.*" --gtest_color=no >"$DIR/driver.log" 2>&1 </dev/null &
driver=$!
for _ in $(seq 300); do [ -f "$DIR/driver.ready" ] && break; sleep 0.1; done

# The program's clock: 23:30 today, then RATE seconds for every real second. The driver is told
# the real moment of the start and the offset, to know the program's time at any moment.
target=$(date -d "today 23:30:00" +%s)
offset=$((target - $(date +%s)))
launch=$(date +%s.%N)
FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f "$(clock_shift $offset) x${RATE}" wine "$DIR/vantle.exe" \
  >"$DIR/program.log" 2>&1 </dev/null &
program=$!
echo "$launch $offset" >"$DIR/clock.txt"

wait $driver
finish_run $? $program "$DIR/driver.log"
