#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs what is missing, builds the
# Windows programs, and runs the sample installation script samples/VELDAR.SQL through
# VELDAR.exe under Wine, unattended, against the default database: the "SQL Server"
# ODBC driver of the test registry, served by SQLite, which keeps the database in a
# file named like the connection string in build/main-job/. Shows the log and the
# error file that the run wrote to C:\, its exit code, and what the database holds.
# Then enciphers the script with sqecrypt.exe, checks with sqeverify.exe, through the
# same cipher code, that VELDAR.SQE deciphers back to the plain script line by line,
# and runs VELDAR.SQE (VELDAR's default script) the same way against a second
# database. Ends with the first failing run's exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR uninstall sqecrypt sqeverify

. scripts/wine-session.sh
wine_session mainjob
tools="$PWD/build/win64/veldar/tools"

out=build/main-job
rm -rf "$out"
mkdir -p "$out"
cp build/win64/veldar/VELDAR.exe samples/VELDAR.SQL "$out/"
cd "$out"

# run_veldar <server> <VELDAR arguments...>: one unattended run and what it left.
run_veldar() {
  local server="$1"
  shift
  rm -f "$WINEPREFIX/drive_c/VELDAR.LOG" "$WINEPREFIX/drive_c/VELDAR.ERR"
  local code=0
  "$run" ./VELDAR.exe -S "$server" "$@" || code=$?
  echo "=== C:\\VELDAR.LOG"
  iconv -f GBK -t UTF-8 "$WINEPREFIX/drive_c/VELDAR.LOG" | tee "VELDAR-$server.LOG"
  echo "=== C:\\VELDAR.ERR"
  iconv -f GBK -t UTF-8 "$WINEPREFIX/drive_c/VELDAR.ERR" | tee "VELDAR-$server.ERR"
  echo "=== the view PartList in the database afterwards"
  sqlite3 -header -column "DRIVER={SQL Server};SERVER=$server;UID=sa;PWD=;" "SELECT * FROM PartList ORDER BY PartId"
  echo "main-job: VELDAR.exe -S $server${*:+ $*} ended with exit code $code"
  [ "$status" -ne 0 ] || status=$code
}

status=0
echo "main-job: the plain script samples/VELDAR.SQL"
run_veldar plain -F VELDAR.SQL

"$run" "$tools/sqecrypt.exe" VELDAR.SQL
"$run" "$tools/sqeverify.exe" VELDAR.SQL VELDAR.SQE
echo "main-job: build/main-job/VELDAR.SQE enciphered by sqecrypt.exe deciphers back to samples/VELDAR.SQL"
echo "main-job: the encrypted script VELDAR.SQE, VELDAR.exe's default"
run_veldar localhost
exit "$status"
