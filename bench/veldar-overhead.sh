#!/usr/bin/env bash
# VELDAR's overhead: a generated script of 20,000 batches (100,000 lines) run by
# VELDAR.exe unattended under Wine against the SQLite-backed "SQL Server" driver, and
# the same batches sent by odbc_batches.exe, which makes only the ODBC calls of a
# batch, through the same driver under the same Wine. Both are whole-process times
# (start, connection, every batch, end), each against a fresh database file in a
# folder of its own, the median of five runs each (ROUNDS=n for another number). Prints both times and, as its
# last line,
#   RESULT overhead=R        (VELDAR's time divided by the yardstick's; goal R <= 1.3)
# BATCHES=n changes the number of batches (5 lines each).
set -euo pipefail
cd "$(dirname "$0")/.."
batches="${BATCHES:-20000}"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR odbc_batches >/dev/null

. scripts/wine-session.sh
wine_session bench

# The database files lie in memory (/dev/shm) where there is such a file system: on
# disk every batch's commit waits for the disk, which makes both programs slow alike and,
# on a shared machine, swamps the difference in noise. BENCH_DIR=folder puts them there.
default_dir="$PWD/build/bench-veldar"
[ -d /dev/shm ] && [ -w /dev/shm ] && default_dir="/dev/shm/bench-veldar-$(id -u)"
work="${BENCH_DIR:-$default_dir}"
[ -n "${BENCH_DIR:-}" ] || [ "$work" != "/dev/shm/bench-veldar-$(id -u)" ] || session_cleanup='rm -rf "$work"'
rm -rf "$work"
mkdir -p "$work"
cp build/win64/veldar/VELDAR.exe build/win64/bench/odbc_batches.exe "$work/"
awk -v n="$batches" 'BEGIN {
  printf "CREATE TABLE bench (\r\n  n INTEGER PRIMARY KEY,\r\n  a TEXT, b INTEGER\r\n);\r\nGO\r\n"
  for (i = 1; i < n; i++)
    printf "INSERT INTO bench (n, a, b)\r\nVALUES (%d,\r\n  '"'"'row %d'"'"',\r\n  %d);\r\nGO\r\n", i, i, i * 2
}' > "$work/BENCH.SQL"
echo "script: $(wc -l < "$work/BENCH.SQL") lines, $batches batches"


seconds() { date +%s.%N; }
count_rows() { sqlite3 "$1" 'select count(*) from bench'; }
file='DRIVER={SQL Server};SERVER=bench;UID=sa;PWD=;'

# One timed run in a fresh folder: prints the seconds from start to end.
timed() {  # timed <name> <program> <arguments...>
  local name="$1" program="$2"
  shift 2
  rm -rf "$work/$name"
  mkdir -p "$work/$name"
  cp "$work/$program" "$work/BENCH.SQL" "$work/$name/"
  cd "$work/$name"
  local start
  start=$(seconds)
  "$run" "./$program" "$@" >/dev/null || echo "$name: exit code $?" >&2
  echo "$(seconds) - $start" | bc -l
  cd "$work"
}
median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# The first window program of a Wine session also starts Wine's desktop process; a
# warm-up run of each program keeps that one-time cost out of the figures.
timed warmup-yardstick odbc_batches.exe BENCH.SQL bench >/dev/null
timed warmup-veldar VELDAR.exe -F BENCH.SQL -S bench >/dev/null

# ROUNDS runs each (5 unless given), alternating; the median counts.
rounds="${ROUNDS:-5}"
ys=() vs=()
for round in $(seq "$rounds"); do
  ys+=("$(timed "yardstick$round" odbc_batches.exe BENCH.SQL bench)")
  vs+=("$(timed "veldar$round" VELDAR.exe -F BENCH.SQL -S bench)")
done
echo "database folder: $work"
echo "rows: yardstick $(count_rows "$work/yardstick$rounds/$file"), VELDAR $(count_rows "$work/veldar$rounds/$file")"
yardstick=$(median "${ys[@]}")
veldar=$(median "${vs[@]}")
printf 'yardstick (odbc_batches.exe): %s s (median of %s)\n' "$(printf '%.2f' "$yardstick")" "$(printf '%.2f ' "${ys[@]}")"
printf 'VELDAR.exe:                   %s s (median of %s)\n' "$(printf '%.2f' "$veldar")" "$(printf '%.2f ' "${vs[@]}")"
printf 'RESULT overhead=%.3f\n' "$(echo "$veldar / $yardstick" | bc -l)"
