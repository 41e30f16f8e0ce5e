#!/usr/bin/env bash
# Builds the release: both programs and the console tools for 32-bit and for 64-bit
# Windows, in release mode, each bitness into one zip in dist/:
#   dist/veldar-zendra-<version>-win32.zip   i686 programs
#   dist/veldar-zendra-<version>-win64.zip   x86-64 programs
#   dist/SHA256SUMS                          checksums of both (sha256sum -c SHA256SUMS)
# Each zip holds VELDAR.exe, uninstall.exe, sqecrypt.exe, sqeverify.exe, sqeplan.exe,
# lstcheck.exe, lngcheck.exe and the user's documents as text: README.txt (what the zip
# holds), VELDAR.txt, UNINSTALL.txt, TOOLS.txt, PACKAGING.txt (from docs/) and
# WINDOWS.txt (which Windows versions each program starts on). The version is the
# project version in CMakeLists.txt. Two clean clones in any folders give identical
# zips: the images carry no time stamp or build path, and every file in a zip has the
# time of the last commit (or SOURCE_DATE_EPOCH), fixed permissions and a fixed order.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

version="$(sed -n 's/^project([A-Za-z_]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "package: no project version in CMakeLists.txt" >&2; exit 1; }
epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 946684800)}"
export TZ=UTC

rm -rf dist
mkdir -p dist

# windows_text <bitness>: which Windows versions each program of the zip starts on.
windows_text() {
  if [ "$1" = win32 ]; then
    cat <<TEXT
32-bit programs (i686), version $version

VELDAR.exe     Windows 2000 and later (also on 64-bit Windows)
sqecrypt.exe   Windows 2000 and later (also on 64-bit Windows)
sqeverify.exe  Windows 2000 and later (also on 64-bit Windows)
sqeplan.exe    Windows 2000 and later (also on 64-bit Windows)
lstcheck.exe   Windows 2000 and later (also on 64-bit Windows)
lngcheck.exe   Windows 2000 and later (also on 64-bit Windows)
uninstall.exe  Windows 98 SE, Windows ME, Windows 2000 and later (also on 64-bit Windows)

Ship this uninstall.exe with the 32-bit archiver: the shell extension it registers is
loaded by Explorer, which loads only libraries of its own bitness.
TEXT
  else
    cat <<TEXT
64-bit programs (x86-64), version $version

VELDAR.exe     Windows XP Professional x64 Edition, Windows Server 2003 x64 and later 64-bit Windows
sqecrypt.exe   the same
sqeverify.exe  the same
sqeplan.exe    the same
lstcheck.exe   the same
lngcheck.exe   the same
uninstall.exe  the same

Ship this uninstall.exe with the 64-bit archiver: the shell extension it registers is
loaded by Explorer, which loads only libraries of its own bitness.
TEXT
  fi
}

# readme_text <bitness>: what the zip holds.
readme_text() {
  cat <<TEXT
VELDAR and uninstall, version $version, $1

VELDAR.exe     installs or upgrades a SQL Server database by running an installation
               script through ODBC (VELDAR.txt)
uninstall.exe  the setup and uninstall helper of the Zendra archiver (UNINSTALL.txt)
sqecrypt.exe   enciphers a script into the ".SQE" form (TOOLS.txt)
sqeverify.exe  checks an enciphered script against its plain form (TOOLS.txt)
sqeplan.exe    tells what a run would do with a script (TOOLS.txt)
lstcheck.exe   tells what the uninstall would delete by its list (TOOLS.txt)
lngcheck.exe   tells what the uninstall would make of a language file (TOOLS.txt)

PACKAGING.txt  starting the programs from a setup package
WINDOWS.txt    the Windows versions each program starts on
TEXT
}

# user_text <document>: a document of docs/ as plain text: without its pictures, and
# with its links to the other documents of the zip named as they are there.
user_text() {
  sed -e '/\]([^)]*\.png)/d' -e 's/\b\(VELDAR\|UNINSTALL\|TOOLS\|PACKAGING\)\.md\b/\1.txt/g' "docs/$1.md"
}

for bitness in win32 win64; do
  build="build/release-$bitness"
  cmake --preset "$bitness" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPROJECT_RUN_TESTS=OFF >/dev/null
  cmake --build "$build" -j "${JOBS:-2}" --target VELDAR uninstall sqecrypt sqeverify sqeplan lstcheck lngcheck

  name="veldar-zendra-$version-$bitness"
  stage="build/package/$name"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$build/veldar/VELDAR.exe" "$build/uninstall/uninstall.exe" \
     "$build/veldar/tools/sqecrypt.exe" "$build/veldar/tools/sqeverify.exe" "$build/veldar/tools/sqeplan.exe" \
     "$build/uninstall/tools/lstcheck.exe" "$build/uninstall/tools/lngcheck.exe" "$stage/"
  # Text files with CR LF, as Windows' own editor expects.
  readme_text "$bitness" | sed 's/$/\r/' > "$stage/README.txt"
  for doc in VELDAR UNINSTALL TOOLS PACKAGING; do
    user_text "$doc" | sed 's/$/\r/' > "$stage/$doc.txt"
  done
  windows_text "$bitness" | sed 's/$/\r/' > "$stage/WINDOWS.txt"
  chmod 0644 "$stage"/*
  chmod 0755 "$stage"/*.exe
  chmod 0755 "$stage"
  touch -d "@$epoch" "$stage" "$stage"/*
  # Sorted names, no directory entries, no extra attributes (owner, extended times).
  (cd build/package && find "$name" -type f | LC_ALL=C sort | zip -q -X -D "../../dist/$name.zip" -@)
done

(cd dist && sha256sum -- *.zip > SHA256SUMS && cat SHA256SUMS)
