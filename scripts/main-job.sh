#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs what is missing, builds the
# Windows programs, enciphers the sample installation script samples/VELDAR.SQL with
# sqecrypt.exe under Wine, checks with sqeverify.exe, through the same cipher code,
# that the encrypted script deciphers back to the plain one line by line, and runs the
# encrypted VELDAR.SQE with VELDAR.exe unattended against the test database (the
# "SQL Server" ODBC driver of the test setup), then shows the run's log and what the
# database holds afterwards. The results land in build/main-job/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR uninstall sqecrypt sqeverify

run="$PWD/build/win64/wine-run.sh"
tools="$PWD/build/win64/veldar/tools"
export WINEPREFIX="$PWD/build/win64/wine/prefix-mainjob"
# Stop the Wine server afterwards, and the X display too unless a test run had started it.
display_was_running=no
[ -f build/win64/wine/display ] && display_was_running=yes
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ "$display_was_running" = yes ] || "$run" --stop
}
trap cleanup EXIT

out=build/main-job
rm -rf "$out"
mkdir -p "$out"
cp samples/VELDAR.SQL "$out/VELDAR.SQL"
cd "$out"
"$run" "$tools/sqecrypt.exe" VELDAR.SQL
"$run" "$tools/sqeverify.exe" VELDAR.SQL VELDAR.SQE
echo "main-job: build/main-job/VELDAR.SQE enciphered by sqecrypt.exe deciphers back to samples/VELDAR.SQL"

# VELDAR.exe runs the script beside it, VELDAR.SQE, by default. The test driver keeps
# the database in a file named like the connection string, in this folder.
cp ../win64/veldar/VELDAR.exe VELDAR.exe
rm -f VELDAR.SQL "$WINEPREFIX/drive_c/VELDAR.LOG" "$WINEPREFIX/drive_c/VELDAR.ERR"
status=0
"$run" ./VELDAR.exe -Slocalhost || status=$?
echo "main-job: VELDAR.exe ran VELDAR.SQE and ended with exit code $status; its log C:\\VELDAR.LOG:"
iconv -f GBK -t UTF-8 "$WINEPREFIX/drive_c/VELDAR.LOG" | tee VELDAR.LOG
echo "main-job: its error file C:\\VELDAR.ERR:"
iconv -f GBK -t UTF-8 "$WINEPREFIX/drive_c/VELDAR.ERR" | tee VELDAR.ERR
echo "main-job: the view PartList in the database afterwards:"
sqlite3 -header -column "DRIVER={SQL Server};SERVER=localhost;UID=sa;PWD=;" "SELECT * FROM PartList ORDER BY PartId"
exit "$status"
