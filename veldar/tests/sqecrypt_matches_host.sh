#!/usr/bin/env bash
# sqecrypt.exe under Wine and sqecrypt built for this machine from the same sources
# write byte-identical files and end with the same exit codes.
# usage: sqecrypt_matches_host.sh WINE_RUN SQECRYPT_EXE HOST_SQECRYPT SAMPLE_SCRIPT WORK_FOLDER
set -euo pipefail
wine_run=$1 exe=$2 host=$3 sample=$4 work=$5
rm -rf "$work"
mkdir -p "$work"
cd "$work"

# Scripts with every kind of line end, empty lines, code-page bytes, a zero byte, no
# line end at the end, lines of 1 to 17 bytes, and an empty file.
cp "$sample" VELDAR.SQL
printf 'a\r\nbb\n\nccc\r\r\n\xd6\xd0\xce\xc4\r\n--LANTHORN--\n\r\n' > mixed.sql
printf 'x\0y\r\n\t \r\nno end' > bytes.sql
for n in $(seq 1 17); do head -c "$n" /dev/zero | tr '\0' 'q'; printf '\r\n'; done > lengths.sql
: > empty.sql

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for plain in VELDAR.SQL mixed.sql bytes.sql lengths.sql empty.sql; do
  "$host" "$plain" "$plain.host" > /dev/null || fail "$host $plain"
  "$wine_run" "$exe" "$plain" "$plain.wine" > /dev/null || fail "sqecrypt.exe $plain"
  if cmp "$plain.host" "$plain.wine"; then
    echo "same: $plain ($(wc -c < "$plain.wine") bytes)"
  else
    fail "$plain enciphered differently"
  fi
done

# Without a second argument both write the script's name with the extension .SQE.
"$wine_run" "$exe" VELDAR.SQL > /dev/null
cmp VELDAR.SQE VELDAR.SQL.host && echo "same: default output VELDAR.SQE" || fail "default output name"

# Exit codes: 1 for an unreadable script or an unwritable output, 2 for bad usage.
expect_code() {  # expect_code <code> <arguments...>
  local want=$1 host_code=0 exe_code=0
  shift
  "$host" "$@" > /dev/null 2>&1 || host_code=$?
  "$wine_run" "$exe" "$@" > /dev/null 2>&1 || exe_code=$?
  if [ "$host_code" = "$want" ] && [ "$exe_code" = "$want" ]; then
    echo "exit $want: sqecrypt $*"
  else
    fail "sqecrypt $* exited with $host_code here and $exe_code under Wine, expected $want"
  fi
}
expect_code 1 missing.sql
expect_code 1 VELDAR.SQL no-such-folder/VELDAR.SQE
expect_code 2
expect_code 2 a b c
expect_code 2 --decrypt VELDAR.SQE

[ ! -e no-such-folder ] || fail "a failed write left a folder"
leftovers=$(find . -name '*.tmp')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

[ "$failures" -eq 0 ] && echo "sqecrypt.exe matches the host build" || exit 1
