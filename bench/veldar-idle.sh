#!/usr/bin/env bash
# VELDAR's idle cost: the CPU time VELDAR.exe uses under Wine while the program of an
# execute directive sleeps for 5 seconds. The script records when that program has
# started; the CPU time of all of VELDAR's threads (from /proc, in nanoseconds) is
# read shortly after and shortly before the end of the sleep. Prints the figures and,
# as its last line,
#   RESULT idle_cpu_percent=P      (goal P < 2)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR veldar_test_child >/dev/null

. scripts/wine-session.sh
wine_session bench

work="$PWD/build/bench-veldar-idle"
rm -rf "$work"
mkdir -p "$work"
cp build/win64/veldar/VELDAR.exe "$work/"
cp build/win64/veldar/tests/veldar_test_child.exe "$work/child.exe"
printf '%s\r\n' 'CREATE TABLE t (n INTEGER)' 'GO' \
  '--^E child.exe record started.txt now' '--^E child.exe sleep 5000' \
  'INSERT INTO t VALUES (1)' 'GO' > "$work/IDLE.SQL"
cd "$work"

# CPU time of every thread of a process, in nanoseconds.
cpu_ns() {
  local total=0 t
  for t in /proc/"$1"/task/*/schedstat; do
    total=$((total + $(cut -d' ' -f1 "$t")))
  done
  echo "$total"
}
now_ns() { date +%s%N; }

"$run" ./VELDAR.exe -F IDLE.SQL -S idle &
session=$!
for _ in $(seq 600); do
  [ -f started.txt ] && break
  sleep 0.01
done
[ -f started.txt ] || { echo "veldar-idle: the directive's program did not start" >&2; exit 1; }
veldar=$(wine_program_pid "$work/VELDAR.exe" "$session") || { echo "veldar-idle: VELDAR.exe not found" >&2; exit 1; }
sleep 0.3
cpu0=$(cpu_ns "$veldar")
t0=$(now_ns)
sleep 4.4
cpu1=$(cpu_ns "$veldar")
t1=$(now_ns)
wait "$session" || true

cpu_ms=$(echo "($cpu1 - $cpu0) / 1000000" | bc -l)
wall_ms=$(echo "($t1 - $t0) / 1000000" | bc -l)
printf 'VELDAR.exe (process %s) while the program sleeps: %.1f ms CPU in %.0f ms\n' "$veldar" "$cpu_ms" "$wall_ms"
printf 'RESULT idle_cpu_percent=%.3f\n' "$(echo "100 * $cpu_ms / $wall_ms" | bc -l)"
