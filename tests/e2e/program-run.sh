# Shared by the scripts that run the real program alone under faketime while a test driver,
# under the real clock, checks it. Sourced, not run.

# The faketime form of a clock shift in seconds: "+Ns" or "-Ns".
clock_shift() {
  if [ "$1" -lt 0 ]; then echo "${1}s"; else echo "+${1}s"; fi
}

# After the driver: shows its log and turns the driver's verdict into the exit code: the driver's
# code unless the log lacks its one passed test. A driver that passed has seen the Windows process
# end, and Wine's launcher of the program may linger a little longer; one that failed may have
# left the program running, which then ends at once.
finish_run() {
  local rc=$1 program=$2 log=$3
  cat "$log"
  grep -q '\[  PASSED  \] 1 test' "$log" || rc=1
  if [ $rc = 0 ]; then
    for _ in $(seq 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
  fi
  kill "$program" 2>/dev/null
  return $rc
}
