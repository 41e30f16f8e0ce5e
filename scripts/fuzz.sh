#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time (FUZZ_SECONDS, default
# 60), starting from its seed corpus in fuzz/corpus/<target>. Exits non-zero when a
# fuzzer finds a crash, a leak or undefined behaviour.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers
status=0
while read -r target; do
  [ -n "$target" ] || continue
  exe=$(find build/fuzz -type f -name "$target" -perm -u+x | head -n 1)
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  seeds=()
  [ -d "fuzz/corpus/$target" ] && seeds+=("fuzz/corpus/$target")
  echo "fuzz: $target for ${seconds}s"
  if "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/$target-" \
       "$work" "${seeds[@]}" > "build/fuzz/$target.log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' "build/fuzz/$target.log" || true
  else
    echo "fuzz: $target FAILED"; tail -n 40 "build/fuzz/$target.log"; status=1
  fi
done < build/fuzz/fuzzers.txt
exit $status
