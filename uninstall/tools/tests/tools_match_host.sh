#!/usr/bin/env bash
# sqeplan, lstcheck and lngcheck print the same and end with the same exit codes as
# .exe under Wine and built for this machine from the same sources, for one table of
# inputs: scripts, installation lists in folders and language files with their traps,
# double-byte names and texts among them. Every JSON report is read by a strict reader.
# usage: tools_match_host.sh WINE_RUN WORK SAMPLE_SCRIPT LIBRARY
#                            SQEPLAN_EXE HOST_SQEPLAN LSTCHECK_EXE HOST_LSTCHECK LNGCHECK_EXE HOST_LNGCHECK
# With "-" for WINE_RUN only the tools of this machine run, and with "-" for LIBRARY
# the cases of a language library are left out.
set -euo pipefail
wine_run=$1 work=$2 sample=$3 library=$4
strict_json="$(cd "$(dirname "$0")/../../../tests/support" && pwd)/strict_json.py"
declare -A exe=([sqeplan]=$5 [lstcheck]=$7 [lngcheck]=$9) host=([sqeplan]=$6 [lstcheck]=$8 [lngcheck]=${10})
rm -rf "$work"
mkdir -p "$work"/scripts "$work"/lng
cd "$work"

# Scripts: the sample; one with every trap of the line loop; an encrypted one with its
# marker, a command line with placeholders and lines that are not whole blocks.
cp "$sample" scripts/VELDAR.SQL
touch scripts/kzp.dll
printf 'CREATE TABLE a (x int)\r\nGO\r\n^kzp.dll\r\n--^Cnone.dll\r\n--^RParts,Parts.bak\r\n--^E"%%SourceDir%%\\s.exe" -S %%ServerName%% -P %%Password%%\r\nGO;\r\nGO 2\r\n--^c x\r\nGO\r\nGO\r\nx\0y\r\nGO\r\n\xd6\xd0\xce\xc4\r\n' > scripts/plain.sql
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

failures=0
for case in "${cases[@]}"; do
  read -r want tool args <<<"$case"
  read -ra arguments <<<"$args"
  [[ "$library" = - && "$args" = *--dll* ]] && continue
  host_code=0 exe_code=$want
  "${host[$tool]}" "${arguments[@]}" > host.out 2>/dev/null || host_code=$?
  cp host.out exe.out
  [ "$wine_run" = - ] ||
    { "$wine_run" "${exe[$tool]}" "${arguments[@]}" 2>/dev/null | tr -d '\r' > exe.out || exe_code=${PIPESTATUS[0]}; }
  if [ "$host_code" != "$want" ] || [ "$exe_code" != "$want" ]; then
    echo "FAIL: $tool $args exited with $host_code here and $exe_code under Wine, expected $want"
    failures=$((failures + 1))
  elif ! diff host.out exe.out > diff.out; then
    echo "FAIL: $tool $args printed differently (< here, > under Wine):"
    head -n 20 diff.out
    failures=$((failures + 1))
  elif [[ "$args" = *--json* ]] && ! python3 "$strict_json" host.out; then
    echo "FAIL: $tool $args printed no strict JSON"
    failures=$((failures + 1))
  else
    echo "same: $tool $args (exit $want, $(wc -l < host.out) lines)"
  fi
done

# The library's own texts reach the report, and its missing dialog is named.
if [ "$library" != - ]; then
  "${host[lngcheck]}" lng/a.lng --dll lng/kzplng.dll > dll.out || true
  for expected in "$(printf '\xbf\xe2\xa3\xba\xc8\xb7\xb6\xa8')" "no readable dialog DONEDLG"; do
    grep -qF "$expected" dll.out || { echo "FAIL: lngcheck --dll does not show $expected"; failures=$((failures + 1)); }
  done
fi

[ "$failures" -eq 0 ] && echo "the tools print the same natively and under Wine" || exit 1
