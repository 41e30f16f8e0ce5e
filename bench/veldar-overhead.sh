#!/usr/bin/env bash
# VELDAR's overhead: a generated script of 20,000 batches (100,000 lines) run by
# VELDAR.exe unattended under Wine against the SQLite-backed "SQL Server" driver, and
# the same batches sent by odbc_batches.exe, which makes only the ODBC calls of a
# batch, through the same driver under the same Wine. Both are whole-process times
# (start, connection, every batch, end), each against a fresh database file in a
# folder of its own, the median of five runs each (ROUNDS=n for another number).
# Prints both times and, as its last line,
#   RESULT overhead=R        (VELDAR's time divided by the yardstick's)
#
# BATCHES=n runs n batches (5 lines each) instead. Several sizes, BATCHES=a,b,c
# (a < b < c; for instance BATCHES=1000,50000,200000), print those lines for each size
# and then what the sizes tell together, as the last lines:
#   RESULT marginal=R        VELDAR's cost per batch over the yardstick's (a to b)
#   RESULT fixed_seconds=S   VELDAR's fixed cost of a run above the yardstick's
#   RESULT scale_Ck_over_Bk=R  VELDAR's time at c batches over its time at b
# and before them the CPU time (user and system, from /proc) of both programs and the
# peak memory of VELDAR (VmHWM) beside the size of its log.
#
# VELDAR_EXE=file measures that program instead of the build's (figures before and
# after a change from one run of this script).
set -euo pipefail
cd "$(dirname "$0")/.."
IFS=', ' read -r -a sizes <<< "${BATCHES:-20000}"
mapfile -t sizes < <(printf '%s\n' "${sizes[@]}" | sort -n)
rounds="${ROUNDS:-5}"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR odbc_batches >/dev/null
veldar_exe="${VELDAR_EXE:-build/win64/veldar/VELDAR.exe}"

. scripts/wine-session.sh
wine_session bench

# The database files lie in memory (/dev/shm) where there is such a file system: on
# disk every batch's commit waits for the disk, which makes both programs slow alike and,
# on a shared machine, swamps the difference in noise. BENCH_DIR=folder puts them there.
if [ -n "${BENCH_DIR:-}" ]; then
  work="$(realpath -m "$BENCH_DIR")"
  rm -rf "$work"
  mkdir -p "$work"
else
  parent="$PWD/build"
  [ -d /dev/shm ] && [ -w /dev/shm ] && parent=/dev/shm
  work="$(mktemp -d "$parent/bench-veldar.XXXXXX")"
  session_cleanup='rm -rf "$work"'
fi
cp "$veldar_exe" "$work/VELDAR.exe"
cp build/win64/bench/odbc_batches.exe "$work/"

script_for() {  # script_for <batches>: BENCH-<batches>.SQL in the work folder
  awk -v n="$1" 'BEGIN {
    printf "CREATE TABLE bench (\r\n  n INTEGER PRIMARY KEY,\r\n  a TEXT, b INTEGER\r\n);\r\nGO\r\n"
    for (i = 1; i < n; i++)
      printf "INSERT INTO bench (n, a, b)\r\nVALUES (%d,\r\n  '"'"'row %d'"'"',\r\n  %d);\r\nGO\r\n", i, i, i * 2
  }' > "$work/BENCH-$1.SQL"
}

count_rows() { sqlite3 "$1" 'select count(*) from bench'; }
file='DRIVER={SQL Server};SERVER=bench;UID=sa;PWD=;'
ticks_per_second=$(getconf CLK_TCK)

# One run in a fresh folder: sets wall (seconds from start to end), cpu (user and system
# seconds of the program's process, its last reading before it ended) and peak (its
# VmHWM in KiB at that reading).
# ok is 0 for a run that failed (a start that went wrong, say): it is not counted.
wall=0 cpu=0 peak=0 ok=1
# A pipe that nobody writes to: reading it with a time-out pauses without a process.
exec {pause}<> <(:)
timed() {  # timed <name> <program> <arguments...>
  local name="$1" program="$2" harness pid stat key value start sampler line
  shift 2
  rm -rf "${work:?}/$name"
  mkdir -p "$work/$name"
  cp "$work/$program" "$work/BENCH.SQL" "$work/$name/"
  cd "$work/$name"
  start=$EPOCHREALTIME
  "$run" "./$program" "$@" >/dev/null &
  harness=$!
  pid=$(wine_program_pid "$work/$name/$program" "$harness") || pid=""
  # Read every 20 ms while the process lives; a zombie has no memory figures left.
  sampler=""
  while [ -n "$pid" ] && read -r stat 2>/dev/null < "/proc/$pid/stat"; do
    key="" value=""
    while read -r key value _; do [ "$key" = VmHWM: ] && break; done 2>/dev/null < "/proc/$pid/status" || true
    [ "$key" = VmHWM: ] || break
    sampler="$stat|$value"
    read -r -t 0.02 -u "$pause" || true
  done
  ok=1
  wait "$harness" || { echo "$name: exit code $?, not counted" >&2; ok=0; }
  wall=$(echo "$EPOCHREALTIME - $start" | bc -l)
  cpu=0 peak=0
  if [ -n "$sampler" ]; then
    # Fields after the command's name: utime and stime are the 12th and 13th.
    line="${sampler%%|*}"
    read -r -a fields <<< "${line##*) }"
    cpu=$(echo "(${fields[11]} + ${fields[12]}) / $ticks_per_second" | bc -l)
    peak="${sampler#*|}"
  else
    echo "$name: process not found, no CPU or memory figures" >&2
  fi
  cd "$work"
}
median() { [ $# -gt 0 ] || { echo 0; return; }; printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

declare -A ywall vwall ycpu vcpu vpeak logsize
for batches in "${sizes[@]}"; do
  script_for "$batches"
  echo "script: $(wc -l < "$work/BENCH-$batches.SQL") lines, $batches batches"
  cp "$work/BENCH-$batches.SQL" "$work/BENCH.SQL"
  # The first window program of a Wine session also starts Wine's desktop process; a
  # warm-up run of each program keeps that one-time cost out of the figures.
  timed warmup-yardstick odbc_batches.exe BENCH.SQL bench
  timed warmup-veldar VELDAR.exe -F BENCH.SQL -S bench

  # ROUNDS runs each, alternating; the median counts.
  ys=() vs=() yc=() vc=() vp=()
  for round in $(seq "$rounds"); do
    timed "yardstick$round" odbc_batches.exe BENCH.SQL bench
    [ "$ok" = 0 ] || ys+=("$wall")
    [ "$ok" = 0 ] || [ "$peak" = 0 ] || yc+=("$cpu")
    timed "veldar$round" VELDAR.exe -F BENCH.SQL -S bench
    [ "$ok" = 0 ] || vs+=("$wall")
    [ "$ok" = 0 ] || [ "$peak" = 0 ] || vc+=("$cpu") vp+=("$peak")
  done
  echo "database folder: $work"
  echo "rows: yardstick $(count_rows "$work/yardstick$rounds/$file"), VELDAR $(count_rows "$work/veldar$rounds/$file")"
  yardstick=$(median "${ys[@]}")
  veldar=$(median "${vs[@]}")
  printf 'yardstick (odbc_batches.exe): %s s (median of %s)\n' "$(printf '%.2f' "$yardstick")" "$(printf '%.2f ' "${ys[@]}")"
  printf 'VELDAR.exe:                   %s s (median of %s)\n' "$(printf '%.2f' "$veldar")" "$(printf '%.2f ' "${vs[@]}")"
  # The log lies in the root of drive C: (the prefix's drive_c).
  log_bytes=$(stat -c %s "$WINEPREFIX/drive_c/BENCH.LOG" 2>/dev/null || echo 0)
  printf 'CPU time: yardstick %.2f s, VELDAR %.2f s (medians); VELDAR peak memory %.1f MiB, log %.1f MiB\n' \
    "$(median "${yc[@]}")" "$(median "${vc[@]}")" "$(echo "$(median "${vp[@]}") / 1024" | bc -l)" \
    "$(echo "$log_bytes / 1048576" | bc -l)"
  printf 'RESULT overhead=%.3f\n' "$(echo "$veldar / $yardstick" | bc -l)"
  ywall[$batches]=$yardstick vwall[$batches]=$veldar
  ycpu[$batches]=$(median "${yc[@]}") vcpu[$batches]=$(median "${vc[@]}") vpeak[$batches]=$(median "${vp[@]}")
  logsize[$batches]=$log_bytes
  rm -rf "$work"/yardstick* "$work"/veldar* "$work"/warmup-*
done
[ "${#sizes[@]}" -ge 2 ] || exit 0

# Cost per batch from the two smallest sizes; the fixed cost is what a run of no batch
# would take on that line. The largest size shows whether the cost stays linear.
a=${sizes[0]} b=${sizes[1]} c=${sizes[${#sizes[@]} - 1]}
per_batch() { echo "($2 - $1) / ($b - $a)" | bc -l; }  # per_batch <time at a> <time at b>
fixed() { echo "$1 - $a * $2" | bc -l; }                # fixed <time at a> <per batch>
ym=$(per_batch "${ywall[$a]}" "${ywall[$b]}") vm=$(per_batch "${vwall[$a]}" "${vwall[$b]}")
ycm=$(per_batch "${ycpu[$a]}" "${ycpu[$b]}") vcm=$(per_batch "${vcpu[$a]}" "${vcpu[$b]}")
yf=$(fixed "${ywall[$a]}" "$ym") vf=$(fixed "${vwall[$a]}" "$vm")
printf 'per batch (%s to %s batches): yardstick %.1f us, VELDAR %.1f us; CPU time per batch: yardstick %.1f us, VELDAR %.1f us (ratio %.3f)\n' \
  "$a" "$b" "$(echo "$ym * 1000000" | bc -l)" "$(echo "$vm * 1000000" | bc -l)" \
  "$(echo "$ycm * 1000000" | bc -l)" "$(echo "$vcm * 1000000" | bc -l)" "$(echo "$vcm / $ycm" | bc -l)"
printf 'fixed cost of a run: yardstick %.3f s, VELDAR %.3f s\n' "$yf" "$vf"
if [ "$c" != "$b" ]; then
  printf 'memory from %s to %s batches: VELDAR peak %.1f to %.1f MiB (+%.1f), log %.1f to %.1f MiB (+%.1f); growth ratio %.2f\n' \
    "$b" "$c" "$(echo "${vpeak[$b]} / 1024" | bc -l)" "$(echo "${vpeak[$c]} / 1024" | bc -l)" \
    "$(echo "(${vpeak[$c]} - ${vpeak[$b]}) / 1024" | bc -l)" "$(echo "${logsize[$b]} / 1048576" | bc -l)" \
    "$(echo "${logsize[$c]} / 1048576" | bc -l)" "$(echo "(${logsize[$c]} - ${logsize[$b]}) / 1048576" | bc -l)" \
    "$(echo "(${vpeak[$c]} - ${vpeak[$b]}) * 1024 / (${logsize[$c]} - ${logsize[$b]})" | bc -l)"
fi
printf 'RESULT marginal=%.3f\n' "$(echo "$vm / $ym" | bc -l)"
printf 'RESULT fixed_seconds=%.3f\n' "$(echo "$vf - $yf" | bc -l)"
[ "$c" = "$b" ] ||
  printf 'RESULT scale_%sk_over_%sk=%.3f\n' "$((c / 1000))" "$((b / 1000))" "$(echo "${vwall[$c]} / ${vwall[$b]}" | bc -l)"
