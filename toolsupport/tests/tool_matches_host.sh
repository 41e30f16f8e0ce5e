#!/usr/bin/env bash
# A console tool prints the same, writes the same files and ends with the same exit
# code as .exe under Wine and as its twin built for this machine from the same sources,
# for its cases of one table of inputs: scripts, installation lists in folders and
# language files with their traps, double-byte names and texts among them. The two
# run in copies of the inputs, which must end alike. Every JSON report is read by a
# strict reader.
# usage: tool_matches_host.sh WINE_RUN WORK SAMPLE_SCRIPT LIBRARY TOOL EXE HOST
# With "-" for WINE_RUN only the tool of this machine (HOST) runs, and with "-" for
# LIBRARY the cases of a language library are left out.
set -euo pipefail
wine_run=$1 work=$2 sample=$3 library=$4 tool=$5 exe=$6 host=$7
strict_json="$(cd "$(dirname "$0")/../../tests/support" && pwd)/strict_json.py"
rm -rf "$work"
mkdir -p "$work"/inputs/scripts "$work"/inputs/lng
cd "$work"/inputs

# Scripts: the sample; one with every trap of the line loop; an encrypted one with its
# marker, a command line with placeholders and lines that are not whole blocks.
cp "$sample" scripts/VELDAR.SQL
touch scripts/kzp.dll
printf 'CREATE TABLE a (x int)\r\nGO\r\n^kzp.dll\r\n--^Cnone.dll\r\n--^RParts,Parts.bak\r\n--^E"%%SourceDir%%\\s.exe" -S %%ServerName%% -P %%Password%%\r\nGO;\r\nGO 2\r\n--^c x\r\nGO\r\nGO\r\nx\0y\r\nGO\r\n\xd6\xd0\xce\xc4\r\n' > scripts/plain.sql
# Scripts to encipher with every kind of line end, empty lines, code-page bytes, a zero
# byte, no line end at the end, lines of 1 to 17 bytes, and an empty file.
printf 'a\r\nbb\n\nccc\r\r\n\xd6\xd0\xce\xc4\r\n--LANTHORN--\n\r\n' > scripts/mixed.sql
printf 'x\0y\r\n\t \r\nno end' > scripts/bytes.sql
for n in $(seq 1 17); do head -c "$n" /dev/zero | tr '\0' 'q'; printf '\r\n'; done > scripts/lengths.sql
: > scripts/empty.sql
# The enciphered form of mixed.sql.
printf '5CF0D2B4A0FECEEB\r\n116AB8EDFADA03ED\r\n\r\nFF64FF18AC207E6F\r\n\r\nA528691792DEE02D\r\n%s\r\n\r\n' \
  2F233A3A4EBD6272DE86CD377F5FE04C > scripts/mixed.sqe
printf 'F05B677A18616954\r\n2F233A3A4EBD6272DE86CD377F5FE04C\r\n6DB1A5B89A961DE9\r\n5A8F0C026191C4BBA287CB9B8384249F0E89D8C0A6289A8637DA43A5BE161AB90829D44F629D85F2\r\nABC\r\n0123456789abcdeG\r\n\r\n' > scripts/e.sqe

# Installation lists: one that deletes everything, one with every kind of skipped line
# and a name whose second byte is the backslash ("乗" in the code page 936), one folder
# without a list.
mkdir -p lst/ok/sub lst/tricky/sub/deep lst/tricky/keep lst/nolist
touch lst/ok/a.txt lst/ok/sub/b.txt lst/ok/uninstall.exe
printf 'sub\r\nsub\\b.txt\r\na.txt\r\nUninstall.lst\r\n' > lst/ok/Uninstall.lst
touch lst/tricky/a.txt lst/tricky/sub/deep/c.txt lst/tricky/keep/x.txt lst/tricky/zendra.gid "lst/tricky/乗.txt"
printf 'sub\nsub\\deep\nSUB/deep/C.TXT  \r\na.txt\na.txt\n..\\evil\nC:\\x\nmissing\nkeep\nzendra.gid\n.\nx\0y\n\x81\x5c.txt\n' \
  > lst/tricky/Uninstall.lst

# Language files: entries with the traps of the section reader, and one whose marker
# lies past the offsets the program searches.
{
  printf 'preamble\r\n***messages** 0123abcd="on the marker line"\r\n'
  printf 'b844b874="Uninstall Zendra"\r\n762298c1="OK"\r\n762298c1="OK again"\r\n'
  printf '0123abcd9="nine digits"\r\nABCDEF01="capitals"\r\n deadbeef="blank"\r\ndeadbeef="\\q \\"x\\"\r\n'
  printf '50a17ae8="LTR"\r\n\xd6\xd0\xce\xc4="\xd6\xd0"\r\n'
} > lng/a.lng
{ head -c 140000 /dev/zero | tr '\0' ' '; printf '***messages**\r\nb844b874="x"\r\n'; } > lng/far.lng
[ "$library" = - ] || cp "$library" lng/kzplng.dll

# Texts that a JSON report must carry whole: double-byte texts, lead bytes without their
# trail byte at a line's end and before a quote, 0x80, 0xFF and a user-defined
# character, control and zero bytes, quotes and backslashes; and every pair of bytes.
odd='\xd6\xd0\xce\xc4 "q" \\ \x01\x1b \x80 \xff \xaa\xa1 \xd6"x\xd6'
printf -- "--^ $odd\r\n^\xd6\xd0.dll\xd6\r\n--^E \xd6\x01\xce\r\nGO;\xd6\r\n--^ x\0\xd6y\r\nGO\r\n$odd\r\n" > scripts/odd.sql
python3 -c 'import sys; sys.stdout.buffer.write(b"".join(b"--^" + b"".join(bytes([lead, trail, 32])
  for trail in range(1, 256) if trail not in (10, 13)) + b"\r\n" for lead in range(128, 256)))' > scripts/pairs.sql
mkdir -p lst/odd && touch "lst/odd/中文.txt" "lst/odd/保留.txt"
printf "\xd6\xd0\xce\xc4.txt\r\n$odd\r\nmissing\xd6\r\nx\0y\r\n" > lst/odd/Uninstall.lst
printf "***messages**\r\ndeadbeef=\"$odd \\\\t\\\\\xd6\"\r\n1234abcd=\"\xd6\r\n" > lng/odd.lng
printf '***messages**\r\n' > lng/short.lng
printf 'preamble\r\n***messages**' > lng/tail.lng

cases=(
  "0 sqecrypt scripts/VELDAR.SQL scripts/VELDAR.SQL.sqe"
  "0 sqecrypt scripts/mixed.sql scripts/mixed.sql.sqe"
  "0 sqecrypt scripts/bytes.sql scripts/bytes.sql.sqe"
  "0 sqecrypt scripts/lengths.sql scripts/lengths.sql.sqe"
  "0 sqecrypt scripts/empty.sql scripts/empty.sql.sqe"
  "0 sqecrypt scripts/VELDAR.SQL"
  "1 sqecrypt scripts/missing.sql"
  "1 sqecrypt scripts/VELDAR.SQL no-such-folder/VELDAR.SQE"
  "2 sqecrypt"
  "2 sqecrypt a b c"
  "2 sqecrypt --decrypt VELDAR.SQE"
  "0 sqeverify scripts/mixed.sql scripts/mixed.sqe"
  "0 sqeverify scripts/empty.sql scripts/empty.sql"
  "1 sqeverify scripts/plain.sql scripts/e.sqe"
  "1 sqeverify scripts/missing.sql scripts/e.sqe"
  "2 sqeverify scripts/plain.sql"
  "2 sqeverify -x scripts/e.sqe"
  "0 sqeverify /?"
  "1 sqeplan scripts/plain.sql -M Sales"
  "1 sqeplan scripts/plain.sql --json -S db1 -U admin"
  "0 sqeplan scripts/VELDAR.SQL"
  "1 sqeplan scripts/e.sqe --json"
  "1 sqeplan scripts/e.sqe --source-dir D:\\kit"
  "1 sqeplan scripts/odd.sql --json"
  "1 sqeplan scripts/odd.sql"
  "1 sqeplan scripts/pairs.sql --json"
  "2 sqeplan scripts/missing.sql"
  "0 sqeplan /?"
  "0 lstcheck lst/ok"
  "1 lstcheck lst/tricky"
  "1 lstcheck lst/tricky --json"
  "1 lstcheck lst/odd --json"
  "1 lstcheck lst/odd"
  "2 lstcheck lst/nolist"
  "0 lstcheck -h"
  "1 lngcheck lng/a.lng"
  "1 lngcheck lng/a.lng --json"
  "1 lngcheck lng/a.lng --dll lng/kzplng.dll"
  "1 lngcheck lng/far.lng --json"
  "1 lngcheck lng/odd.lng --json"
  "1 lngcheck lng/odd.lng"
  "1 lngcheck lng/short.lng --json"
  "1 lngcheck lng/tail.lng --json"
  "2 lngcheck lng/missing.lng"
  "0 lngcheck /?"
)

# The twin runs in host/, the .exe in exe/ (natively there is none: exe/ stays as the
# inputs, and only the twin's exit codes and JSON are checked).
cd "$work"
cp -a inputs host
cp -a inputs exe
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for case in "${cases[@]}"; do
  read -r want name args <<<"$case"
  read -ra arguments <<<"$args"
  [[ "$name" != "$tool" || ("$library" = - && "$args" = *--dll*) ]] && continue
  host_code=0 exe_code=$want
  # The .exe ends its lines with CR LF (text mode): both outputs are compared without CR.
  (cd host && "$host" "${arguments[@]}") 2>/dev/null | tr -d '\r' > host.out || host_code=${PIPESTATUS[0]}
  cp host.out exe.out
  [ "$wine_run" = - ] ||
    { (cd exe && "$wine_run" "$exe" "${arguments[@]}") 2>/dev/null | tr -d '\r' > exe.out || exe_code=${PIPESTATUS[0]}; }
  if [ "$host_code" != "$want" ] || [ "$exe_code" != "$want" ]; then
    fail "$tool $args exited with $host_code here and $exe_code under Wine, expected $want"
  elif ! diff host.out exe.out > diff.out; then
    fail "$tool $args printed differently (< here, > under Wine):"
    head -n 20 diff.out
  elif [ "$wine_run" != - ] && ! diff -r host exe > diff.out; then
    fail "$tool $args left different files (here, under Wine):"
    head -n 20 diff.out
  elif [[ "$args" = *--json* ]] && ! python3 "$strict_json" host.out; then
    fail "$tool $args printed no strict JSON"
  else
    echo "same: $tool $args (exit $want, $(wc -l < host.out) lines)"
  fi
done

written=host
[ "$wine_run" = - ] || written=exe
case $tool in
  sqecrypt)
    # Without a second argument the output is the script's name with the extension .SQE.
    cmp "$written"/scripts/VELDAR.SQE host/scripts/VELDAR.SQL.sqe || fail "default output name"
    [ ! -e host/no-such-folder ] && [ ! -e exe/no-such-folder ] || fail "a failed write left a folder" ;;
  lngcheck)
    # The library's own texts reach the report, and its missing dialog is named.
    if [ "$library" != - ]; then
      (cd host && "$host" lng/a.lng --dll lng/kzplng.dll) > dll.out || true
      for expected in "$(printf '\xbf\xe2\xa3\xba\xc8\xb7\xb6\xa8')" "no readable dialog DONEDLG"; do
        grep -qF "$expected" dll.out || fail "lngcheck --dll does not show $expected"
      done
    fi ;;
esac
leftovers=$(find host exe -name '*.tmp')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

[ "$failures" -eq 0 ] && echo "$tool prints the same natively and under Wine" || exit 1
