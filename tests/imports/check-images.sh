#!/usr/bin/env bash
# Checks that a built program starts on the oldest Windows it serves:
#   check-images.sh LIST OBJDUMP WINDRES VERSION NT 9X SUBSYSTEM LEVEL PROGRAM.exe
# LIST is windows-imports.txt. NT is the oldest Windows NT version the program serves
# (5.0 for Windows 2000, 5.2 for Windows XP x64), 9X the oldest of 98 or ME, or "-".
# SUBSYSTEM is "=4.0" (the header must say exactly that) or "<=5.2" (at most that).
# Every imported function must be in LIST and exist from those versions on; the image
# must carry no time stamp, its version resource must give VERSION and its manifest ask
# for the execution LEVEL ("-": no manifest).
set -euo pipefail
list="$1" objdump="$2" windres="$3" version="$4" nt="$5" win9x="$6" subsystem="$7" level="$8" image="$9"
name="$(basename "$image")"
headers="$("$objdump" -p "$image")"
failed=0
fail() { echo "$name: $*"; failed=1; }

# "DLL Function" per imported function, DLL names in capitals.
imports="$(awk '/DLL Name:/ { dll = toupper($3); next }
                /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$headers")"
[ -n "$imports" ] || fail "no imports read (objdump output changed?)"

# Each import against the list: unknown, or newer than the program's oldest Windows.
problems="$(awk -v nt="$nt" -v w9x="$win9x" '
  function nine(v) { return v == "95" ? 4.0 : v == "98" ? 4.10 : v == "ME" ? 4.90 : 99 }
  NR == FNR { if ($0 !~ /^#/ && NF >= 4) { ntOf[toupper($1) " " $2] = $3; w9xOf[toupper($1) " " $2] = $4 } next }
  { key = $1 " " $2
    if (!(key in ntOf)) { print "not in the list: " key; next }
    if (ntOf[key] + 0 > nt + 0) print "needs Windows NT " ntOf[key] ": " key
    if (w9x != "-" && nine(w9xOf[key]) > nine(w9x)) print "not on Windows " w9x ": " key " (" w9xOf[key] ")"
  }' "$list" - <<<"$imports")"
[ -z "$problems" ] || fail "$(printf '\n%s' "$problems" | sed 's/^./  &/')"

field() { awk -v f="$1" '$1 == f { print $2 }' <<<"$headers"; }
sub_version="$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
case "$subsystem" in
  =*) [ "$sub_version" = "${subsystem#=}" ] || fail "subsystem version $sub_version, not ${subsystem#=}" ;;
  '<='*) awk -v a="$sub_version" -v b="${subsystem#<=}" 'BEGIN { exit !(a + 0 <= b + 0) }' ||
           fail "subsystem version $sub_version, above ${subsystem#<=}" ;;
esac
# The link time stamp (COFF header, 8 bytes after the PE signature) must be zero.
pe_offset="$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')"
stamp="$(od -An -tu4 -j$((pe_offset + 8)) -N4 "$image" | tr -d ' ')"
[ "$stamp" = 0 ] || fail "time stamp $stamp in the header (two builds would differ)"

resource="$("$windres" -i "$image" -O rc 2>/dev/null || true)"
grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$resource" || fail "version resource does not give FileVersion $version"

# The execution level that the manifest asks for (windres writes its text with doubled quotes).
asked="$(grep -o 'requestedExecutionLevel level=""[A-Za-z]*' <<<"$resource" | sed 's/.*""//' || true)"
[ "${asked:--}" = "$level" ] || fail "manifest asks for execution level ${asked:-none}, not $level"

dlls="$(awk '{ print $1 }' <<<"$imports" | sort -u | wc -l)"
oldest="Windows NT $nt"
[ "$win9x" = "-" ] || oldest="$oldest and Windows $win9x"
[ "$failed" -eq 0 ] &&
  echo "$name: $(wc -l <<<"$imports") functions from $dlls DLLs, all listed and on $oldest; subsystem $sub_version; version $version; execution level $level"
exit "$failed"
