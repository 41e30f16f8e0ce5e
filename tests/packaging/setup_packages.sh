#!/usr/bin/env bash
# The example setup packages (examples/nsis, examples/wix), built with makensis and wixl
# from this build's programs and run under Wine: with a failing batch each one fails with
# VELDAR's reason and leaves nothing behind; with a good script it installs, runs the
# script and the archiver's setup, and its uninstaller removes it all again.
# usage: setup_packages.sh WINE_RUN WORK EXAMPLES ARCH VELDAR_EXE UNINSTALL_EXE ACTIONS_DLL ANSWER_BOX_EXE
set -euo pipefail
wine_run=$1 work=$2 examples=$3 arch=$4 answer_box=$8
# How long a box or the end of a batch may take on a loaded machine (the tests' one timeout).
wait_seconds=60
: "${WINEPREFIX:?the prefix of this test}"
if [ "$arch" = x64 ]; then view=64 folder='Program Files'; else view=32 folder='Program Files (x86)'; fi
installed="$WINEPREFIX/drive_c/$folder/Zendra" packages="$WINEPREFIX/drive_c/packages"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendra archiver'
rm -rf "$work" && mkdir -p "$work" && cd "$work"

failures=0
check() { if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
run() { code=0; "$wine_run" "$@" >>wine.out 2>&1 || code=$?; }
in_registry() { "$wine_run" reg query "$1" /reg:$view 2>/dev/null | tr -d '\r' | grep -- "$2" >/dev/null; }
not_in_registry() { ! "$wine_run" reg query "$1" /reg:$view >/dev/null 2>&1; }
in_file() { [ -f "$1" ] && iconv -c -f GBK -t UTF-8 "$1" | grep -- "$2" >/dev/null; }
# The SQLite driver keeps the database in VELDAR's current folder, named like the connection string.
rows() { sqlite3 "$installed/DRIVER={SQL Server};SERVER=$1;UID=sa;PWD=secret;" 'SELECT count(*) FROM Part'; }

# The kits: the files that each package ships. The list names what the archiver's
# uninstall deletes: the package's files and the New-menu templates that the setup makes.
declare -A script=([good]='INSERT INTO Part SELECT 1 UNION ALL SELECT 2' [bad]='INSERT INTO Nowhere VALUES (1)')
for outcome in good bad; do
  for kind in nsis wix; do
    mkdir "$kind-$outcome" && cp "$5" "$6" "$kind-$outcome/"
    printf 'CREATE TABLE Part (No int)\r\nGO\r\n%s\r\nGO\r\n' "${script[$outcome]}" >"$kind-$outcome/VELDAR.SQL"
    printf 'VELDAR.exe\r\nVELDAR.SQL\r\nkzpnew.dat\r\nzipnew.dat\r\n' >"$kind-$outcome/Uninstall.lst"
  done
  printf 'Uninst.exe\r\n' >>"nsis-$outcome/Uninstall.lst"
done
cp "$7" setup_actions.dll
# The packages go into the prefix, which must be made first (an incomplete one is made anew).
"$wine_run" --display >/dev/null && mkdir -p "$packages"
for outcome in good bad; do
  makensis -V2 -DKIT="$work/nsis-$outcome" -DARCH="$arch" -DSERVER="nsis$outcome" -DPASSWORD=secret \
    -DOUTFILE="$packages/nsis-$outcome.exe" "$examples/nsis/setup.nsi" >/dev/null
  # wixl takes no absolute paths: the kit lies in the current folder.
  wixl -a "$arch" -D Arch="$arch" -D Kit="wix-$outcome" -D Actions=setup_actions.dll -D Server="wix$outcome" \
    -o "$packages/wix-$outcome.msi" "$examples/wix/setup.wxs"
done

# clean <package>: nothing of it in the folder or the registry.
clean() {
  check "$1: no file of the package" [ ! -e "$installed/uninstall.exe" ]
  check "$1: no association" not_in_registry 'HKCR\.kzp'
  check "$1: no entry in the list of programs" not_in_registry "$entry"
}
# failed <package> <exit code>: the package failed on the failing batch.
failed() {
  check "$1: ends with $2 (seen $code)" [ "$code" = "$2" ]
  check "$1: VELDAR's error file names the batch" in_file "$WINEPREFIX/drive_c/VELDAR.ERR" 'no such table: Nowhere'
  clean "$1"
  rm -rf "$installed"
}
# succeeded <package> <server> <its uninstall command>
succeeded() {
  check "$1: installs (seen $code)" [ "$code" = 0 ]
  check "$1: the database holds the script's rows" [ "$(rows "$2")" = 2 ]
  check "$1: .kzp belongs to the archiver" in_registry 'HKCR\.kzp' Zendra
  check "$1: the setup ran in the installation folder" \
    in_registry 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Zendra.exe' "Path.*$folder.Zendra"
  check "$1: the archiver's entry starts the package's uninstaller" in_registry "$entry" "UninstallString.*$3"
  rm -f "$installed"/DRIVER*
}
# answered <button> <uninstall command...>: the package's uninstaller, while the archiver's
# confirmation is answered with <button> (6 Yes, 7 No).
answered() {
  # The setup opened the program group in an Explorer, which holds that folder.
  "$wine_run" --stop-prefix
  "$wine_run" "$answer_box" "$1" "$wait_seconds" >box.txt 2>>wine.out &
  run "${@:2}"
  wait $! || true
}
# removed <package>: after a Yes the batch of the archiver's uninstall takes the folder last.
removed() {
  check "$1: the uninstaller ends with 0 (seen $code)" [ "$code" = 0 ]
  check "$1: the archiver's uninstall asked" in_file box.txt '确实要卸载 Zendra 吗?'
  for _ in $(seq $((wait_seconds * 4))); do [ -e "$installed" ] || break; sleep 0.25; done
  check "$1: the installation folder is gone" [ ! -e "$installed" ]
  clean "$1"
}

run 'C:\packages\nsis-bad.exe' /S
failed nsis-bad 11 # 10 + VELDAR's exit code 1
run msiexec /i 'C:\packages\wix-bad.msi' /qn /l*v 'C:\wix-bad.log'
failed wix-bad 67 # 1603, of which the host sees the low 8 bits
check "wix-bad: the installer's log gives VELDAR's reason" in_file "$WINEPREFIX/drive_c/wix-bad.log" \
  'The database script failed: a batch, or a program that it starts, ended with an error.'

run 'C:\packages\nsis-good.exe' /S
succeeded nsis-good nsisgood Uninst.exe
answered 6 "C:\\$folder\\Zendra\\Uninst.exe" /S
removed nsis-good

run msiexec /i 'C:\packages\wix-good.msi' PASSWORD=secret /qn
succeeded wix-good wixgood 'MsiExec.exe /X{'
answered 7 msiexec /x 'C:\packages\wix-good.msi' /qn
check "wix-good: a No cancels the removal, 1602 (seen $code)" [ "$code" = 66 ]
check "wix-good: after a No .kzp stays the archiver's" in_registry 'HKCR\.kzp' Zendra
answered 6 msiexec /x 'C:\packages\wix-good.msi' /qn
removed wix-good

[ "$failures" = 0 ] || { echo "$failures failed; Wine printed:" && iconv -c -f GBK -t UTF-8 wine.out | tail -n 40; exit 1; }
