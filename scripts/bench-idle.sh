#!/usr/bin/env bash
# The idle figure, run by bench.sh on its display from bench/: vantle.exe in a folder of its own
# with the graph window closed and no input, and beside it the baseline idle_window.exe (a hidden
# window with the same 200 ms timer), both started together and read from the host over the same
# span: voluntary context switches (wakeups and waits on the system) of all their threads, and
# CPU time. Of two programs started together under Wine the one started first spends several per
# cent more CPU time, whichever it is, so the span is measured in two halves, each program started
# first in one of them, and the halves are summed. Writes ROW lines in the bench's format to
# <out>/idle.txt.
set -u
out=$1
settle=${IDLE_SETTLE_S:-15}
span=${IDLE_SPAN_S:-60}
half=$(((span + 1) / 2))
folder="$out/idle-program"
# The Linux process of a Windows program, by its executable's name.
pid_of() {
  for _ in $(seq 100); do
    p=$(pgrep -n -f "$1") && { echo "$p"; return 0; }
    sleep 0.1
  done
  return 1
}
# Voluntary context switches and CPU time in nanoseconds (schedstat: the clock ticks of stat are
# 10 ms, coarser than what an idle process spends in a minute) of every thread.
sample() {
  local v=0 c=0 t
  for t in /proc/"$1"/task/*; do
    v=$((v + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status" 2>/dev/null || echo 0)))
    c=$((c + $(awk '{print $1}' "$t/schedstat" 2>/dev/null || echo 0)))
  done
  echo "$v $c"
}
start_program() {
  rm -rf "$folder" && mkdir -p "$folder"
  cp vantle.exe hookdll.dll TransG32.DLL "$folder/"
  wine "$folder/vantle.exe" >>"$out/idle-program.log" 2>&1 </dev/null &
}
start_window() { wine idle_window.exe >>"$out/idle-window.log" 2>&1 </dev/null & }
p=0 pc=0 w=0 wc=0
: >"$out/idle-program.log"
: >"$out/idle-window.log"
for first in program window; do
  if [ "$first" = program ]; then start_program; start_window; else start_window; start_program; fi
  program=$(pid_of 'idle-program.vantle\.exe') || { printf 'NOTE\tidle: the program did not start\n' >>"$out/idle.txt"; exit 1; }
  window=$(pid_of 'idle_window\.exe') || { printf 'NOTE\tidle: the baseline did not start\n' >>"$out/idle.txt"; exit 1; }
  sleep "$settle"
  read -r p0 pc0 <<<"$(sample "$program")"
  read -r w0 wc0 <<<"$(sample "$window")"
  sleep "$half"
  read -r p1 pc1 <<<"$(sample "$program")"
  read -r w1 wc1 <<<"$(sample "$window")"
  kill "$program" "$window" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || kill -0 "$window" 2>/dev/null || break; sleep 0.1; done
  p=$((p + p1 - p0)) pc=$((pc + pc1 - pc0)) w=$((w + w1 - w0)) wc=$((wc + wc1 - wc0))
done
awk -v p="$p" -v w="$w" -v pc="$pc" -v wc="$wc" -v s="$((2 * half))" '
  BEGIN {
    pr = p / s; wr = w / s
    printf "ROW\tidle, graph closed: voluntary context switches\t%.1f\t%.1f\t%.1f\tbare window, same timer\t%.1f\t%.1f\t%.1f\t/s\t1\t%.2f\n", pr, pr, pr, wr, wr, wr, (wr > 0 ? pr / wr : 0)
    pm = pc / 1000000 / s; wm = wc / 1000000 / s
    printf "ROW\tidle, graph closed: CPU time\t%.3f\t%.3f\t%.3f\tbare window, same timer\t%.3f\t%.3f\t%.3f\tms/s\t1\t%s\n", pm, pm, pm, wm, wm, wm, (wm > 0 ? sprintf("%.2f", pm / wm) : "-")
  }' >>"$out/idle.txt"
