#!/usr/bin/env bash
# Builds the benchmark programs and runs them under Wine on a virtual X display, then prints
# every figure with its baseline from the same run and their ratio. Not part of test.sh.
# Usage: scripts/bench.sh [quick|totals|apps|habits|share|idle]   (quick: a short footprint run that only checks
# the bench; totals: only the totals window and the CSV export over ten years of day files; apps: the
# input figures with the graph window closed and the apps window over ten years of apps files;
# habits: the keyboard window over ten years of keys files and a year drawn as the calendar; share:
# five PCs of ten years each in one share folder; idle: only the idle figure)
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
"$ROOT/scripts/setup.sh" "$BUILD"
cmake --build "$BUILD" --target bench -j"$(nproc)"
export WINEPREFIX="$BUILD/wineprefix"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
OUT="$BUILD/bench-results"
mkdir -p "$OUT"
rm -f "$OUT"/*.txt
cd "$BUILD/bin"
# The recorded figures were taken with managed windows, the prefix's default; the tests want
# the prefix unmanaged. The bench sets the mode it was recorded with and gives the tests theirs
# back at the end.
set_window_mode() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >"$BUILD/wine-reg.log" 2>&1 </dev/null
  wineserver -w
}
set_window_mode Y
# One display and one wineserver for the whole run; Wine's output goes to files, never a pipe.
set +e
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  out=$1; shift
  wineserver -p >/dev/null 2>&1 </dev/null
  rc=0
  if [ "${1:-}" = idle ]; then
    touch "$out/inprocess.txt" "$out/startup.txt" "$out/repaint.txt" "$out/footprint.txt"
  elif [ "${1:-}" = totals ] || [ "${1:-}" = apps ] || [ "${1:-}" = habits ] || [ "${1:-}" = share ]; then
    wine vantle_bench.exe "$1" >"$out/inprocess.txt" 2>&1 </dev/null || rc=1
    touch "$out/startup.txt" "$out/repaint.txt" "$out/footprint.txt"
  else
    wine vantle_bench.exe >"$out/inprocess.txt" 2>&1 </dev/null || rc=1
    wine process_bench.exe startup >"$out/startup.txt" 2>&1 </dev/null || rc=1
    wine process_bench.exe repaint >"$out/repaint.txt" 2>&1 </dev/null || rc=1
    wine process_bench.exe footprint "$@" >"$out/footprint.txt" 2>&1 </dev/null || rc=1
  fi
  touch "$out/idle.txt"
  case "${1:-}" in totals|apps|habits|share|quick) ;; *) bash "$0/bench-idle.sh" "$out" || rc=1 ;; esac
  wineserver -k >/dev/null 2>&1 </dev/null
  exit $rc' "$ROOT/scripts" "$OUT" "$@"
rc=$?
set -e
set_window_mode N

echo "machine: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores;" \
     "$(wine --version 2>/dev/null); Debian $(cat /etc/debian_version)"
echo
awk -F'\t' '
  $1 == "ROW" {
    printf "%-58s %10s %-8s [%s..%s]  n=%s\n", $2, $3, $10, $4, $5, $11
    if ($6 != "-") printf "  vs %-54s %10s %-8s [%s..%s]  ratio %s\n", $6, $7, $10, $8, $9, $12
  }' "$OUT/inprocess.txt" "$OUT/startup.txt" "$OUT/repaint.txt" "$OUT/footprint.txt" "$OUT/idle.txt"
echo
awk -F'\t' '
  $1 == "COUNTS" && !header++ { printf "%-44s %12s %6s %8s %12s %8s\n", "footprint sample", "private KiB", "GDI",
          "windows", "USER (API)", "handles" }
  $1 == "COUNTS" { printf "%-44s %12s %6s %8s %12s %8s\n", $2, $3, $4, $5, $6, $7 }
  $1 == "SERIES" { series = series sprintf("%s:%s\n", $2, $3) }
  $1 == "NOTE" { notes = notes "note: " $2 "\n" }
  END { printf "\n%s\n%s", series, notes }' "$OUT/inprocess.txt" "$OUT/startup.txt" "$OUT/repaint.txt" "$OUT/footprint.txt" "$OUT/idle.txt"
echo "raw output: $OUT/{inprocess,startup,repaint,footprint,idle}.txt"
exit $rc
