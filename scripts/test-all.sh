#!/usr/bin/env bash
# Runs every test on a fresh Debian 12 machine: installs what is missing, builds the
# native (AddressSanitizer + UBSan), win64 and win32 configurations, runs ctest for
# each (the Windows suites under Wine, win32 on its 32-bit side), runs the fuzzers for
# a bounded time, and prints a summary. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh || exit 1

jobs="${JOBS:-$(nproc)}"
results=()
failed=0
step() {  # step <name> <command...>
  local name="$1"; shift
  echo "=== $name"
  if "$@"; then results+=("PASS  $name"); else results+=("FAIL  $name"); failed=1; fi
}

step "configure native" cmake --preset native
step "build native" cmake --build --preset native -j "$jobs"
step "configure win64" cmake --preset win64
step "build win64" cmake --build --preset win64 -j "$jobs"
step "configure win32" cmake --preset win32
step "build win32" cmake --build --preset win32 -j "$jobs"
run_ctest() { ctest --preset "$1" -j "$jobs" 2>&1 | tee "build/ctest-$1.log"; }
step "ctest native" run_ctest native
step "ctest win64 (under Wine)" run_ctest win64
# Wine's 32-bit side needs a kernel that runs 32-bit code; some virtual machines have
# IA-32 emulation off. There the 32-bit suite cannot run at all, and the summary says so.
if wine --version >/dev/null 2>&1; then
  step "ctest win32 (under Wine's 32-bit side)" run_ctest win32
else
  echo "=== ctest win32: skipped, this machine's kernel runs no 32-bit programs"
  results+=("SKIP  ctest win32: this machine's kernel runs no 32-bit programs (IA-32 emulation off)")
  rm -f build/ctest-win32.log
fi
step "fuzzers (${FUZZ_SECONDS:-60}s each)" ./scripts/fuzz.sh

echo
echo "=== Summary"
for r in "${results[@]}"; do echo "$r"; done
for preset in native win64 win32; do
  [ -f "build/ctest-$preset.log" ] && echo "ctest $preset: $(grep -E 'tests passed' "build/ctest-$preset.log" | tail -n 1)"
done
exit $failed
