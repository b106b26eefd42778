#!/usr/bin/env bash
# The idle figure, run by bench.sh on its display from bench/: vantle.exe in a folder of its own
# with the graph window closed and no input, and beside it the baseline idle_window.exe (a hidden
# window with the same 200 ms timer), both started together and read from the host over the same
# minute: voluntary context switches (wakeups and waits on the system) of all their threads, and
# CPU time. Writes ROW lines in the bench's format to <out>/idle.txt.
set -u
out=$1
settle=${IDLE_SETTLE_S:-15}
span=${IDLE_SPAN_S:-60}
folder="$out/idle-program"
rm -rf "$folder" && mkdir -p "$folder"
cp vantle.exe hookdll.dll TransG32.DLL "$folder/"
wine "$folder/vantle.exe" >"$out/idle-program.log" 2>&1 </dev/null &
wine idle_window.exe >"$out/idle-window.log" 2>&1 </dev/null &
# The Linux process of a Windows program, by its executable's name.
pid_of() {
  for _ in $(seq 100); do
    p=$(pgrep -n -f "$1") && { echo "$p"; return 0; }
    sleep 0.1
  done
  return 1
}
# Voluntary context switches of every thread, and user plus system CPU ticks of the process.
sample() {
  local v=0 t
  for t in /proc/"$1"/task/*/status; do
    v=$((v + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t" 2>/dev/null || echo 0)))
  done
  echo "$v $(awk '{print $14 + $15}' /proc/"$1"/stat)"
}
program=$(pid_of 'idle-program.vantle\.exe') || { printf 'NOTE\tidle: the program did not start\n' >>"$out/idle.txt"; exit 1; }
window=$(pid_of 'idle_window\.exe') || { printf 'NOTE\tidle: the baseline did not start\n' >>"$out/idle.txt"; exit 1; }
sleep "$settle"
read -r p0 pc0 <<<"$(sample "$program")"
read -r w0 wc0 <<<"$(sample "$window")"
sleep "$span"
read -r p1 pc1 <<<"$(sample "$program")"
read -r w1 wc1 <<<"$(sample "$window")"
kill "$program" "$window" 2>/dev/null
hz=$(getconf CLK_TCK)
awk -v p="$((p1 - p0))" -v w="$((w1 - w0))" -v pc="$((pc1 - pc0))" -v wc="$((wc1 - wc0))" -v s="$span" -v hz="$hz" '
  BEGIN {
    pr = p / s; wr = w / s
    printf "ROW\tidle, graph closed: voluntary context switches\t%.1f\t%.1f\t%.1f\tbare window, same timer\t%.1f\t%.1f\t%.1f\t/s\t1\t%.2f\n", pr, pr, pr, wr, wr, wr, (wr > 0 ? pr / wr : 0)
    pm = pc * 1000 / hz / s; wm = wc * 1000 / hz / s
    printf "ROW\tidle, graph closed: CPU time\t%.1f\t%.1f\t%.1f\tbare window, same timer\t%.1f\t%.1f\t%.1f\tms/s\t1\t%s\n", pm, pm, pm, wm, wm, wm, (wm > 0 ? sprintf("%.2f", pm / wm) : "-")
  }' >>"$out/idle.txt"
