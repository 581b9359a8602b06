# What a running process costs, read from /proc; sourced by the benchmark
# scripts.
#
#   process_cost PID SECONDS
#
# samples the process over SECONDS seconds and prints one line:
#   SECONDS_TAKEN CPU_PERCENT_OF_A_CORE WAKEUPS_PER_SECOND RSS_MB THREADS
# Each context switch of any of its threads, voluntary or not, counts as a
# wake-up. The memory and the thread count are taken at the end. It fails
# when the process is gone by then, so that a process that died is never
# reported as a cheap one.
#
# The CPU time is the sum of the threads' run times in /proc/PID/task/*/
# schedstat, in nanoseconds: /proc/PID/stat counts in clock ticks of 10 ms,
# too coarse for a process that runs well under a tick a second.
#
# NOTE: the kernel shows switch counts and run times per thread only, and a
# thread's figures leave /proc with it: a thread that ends within the window
# takes its switches and its time with it, so a process that keeps making
# short-lived threads shows less than it costs.

process_switches() {
  # One awk over all threads: a thread that ends while they are read only
  # drops out of the sum.
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }'
}

process_cpu_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}

process_cost() {
  local pid=$1 seconds=$2 s0 s1 c0 c1 t0 t1 threads rss_kb
  s0=$(process_switches "$pid"); c0=$(process_cpu_ns "$pid"); t0=$(date +%s.%N)
  sleep "$seconds"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "process_cost: process $pid ended before the $seconds s were over" >&2
    return 1
  fi
  s1=$(process_switches "$pid"); c1=$(process_cpu_ns "$pid"); t1=$(date +%s.%N)
  threads=$(ls /proc/"$pid"/task | wc -l)
  rss_kb=$(awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status)
  awk -v s="$(( s1 - s0 ))" -v c="$(( c1 - c0 ))" -v t0="$t0" -v t1="$t1" \
      -v rss="$rss_kb" -v threads="$threads" 'BEGIN {
    t = t1 - t0
    printf "%.1f %.3f %.2f %.1f %d\n", t, 100 * c / 1e9 / t, s / t, rss / 1024, threads
  }'
}
