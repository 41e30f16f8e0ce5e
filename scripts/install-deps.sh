#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need on Debian 12.
# Idempotent: when every package is present and the locale exists it only checks and returns.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# The 32-bit Windows programs run under Wine's 32-bit side, which needs the i386
# architecture for wine32 and the 32-bit ODBC driver manager and SQLite driver.
update_needed=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "install-deps: adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
  update_needed=1
fi

# The Windows compilers use the win32 thread model: the programs are single-threaded,
# and the posix model's winpthreads imports functions that older Windows lacks.
packages=(
  cmake ninja-build g++ make pkg-config zip
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64 mingw-w64-tools
  wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei
  # Wine's own fonts: Marlett draws the caption buttons in the screenshots.
  fonts-wine
  locales bc python3
  unixodbc unixodbc-dev libsqliteodbc sqlite3 odbc-postgresql postgresql
  libodbc2:i386 libsqliteodbc:i386
  googletest libssl-dev
  # The example setup packages (examples/) are built with these in the tests.
  nsis wixl
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ "$update_needed" -eq 1 ]; then
  echo "install-deps: installing ${missing[*]}"
  # A mirror caught mid-sync fails the update of one index with a wrong size, and may
  # stay so for hours (seen: the security suite's i386 index behind its amd64 one).
  # The update is tried again a few times; after that the install goes on with the
  # indexes that did arrive.
  update_ok=0
  for attempt in 1 2 3; do
    if $SUDO apt-get update; then update_ok=1; break; fi
    [ "$attempt" -eq 3 ] || { echo "install-deps: apt-get update failed, trying again in $((attempt * 30)) s"; sleep $((attempt * 30)); }
  done
  install=($SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends)
  if ! "${install[@]}" "${missing[@]}"; then
    [ "$update_ok" -eq 0 ] || exit 1
    # Without the security suite's i386 index, a library's i386 twin can only come from
    # the release, while its amd64 side would come from the security suite: the two
    # must carry one version. For the packages this install adds, the release's version
    # is taken for both; installed packages keep theirs.
    echo "install-deps: the indexes are incomplete; installing the release's versions of new packages"
    pins=$(mktemp -d)
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' > "$pins/security-incomplete"
    "${install[@]}" -o Dir::Etc::PreferencesParts="$pins" "${missing[@]}"
    rm -rf "$pins"
  fi
fi

# The tests run with LANG=zh_CN.UTF-8 so that Wine's ANSI code page is 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-deps: generating zh_CN.UTF-8"
  $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
echo "install-deps: all present"
