#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each on its committed seed corpus for SECONDS
# (default 60); prints executions and crashes per target. Exit 1 when any target crashed.
# Usage: scripts/fuzz.sh [SECONDS] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
shift || true
scripts/deps.sh clang libclang-rt-14-dev >/dev/null
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do [ -e "$f" ] && targets+=("$(basename "$f" .cpp)"); done
fi
out=fuzz-out
mkdir -p "$out"
failed=0
for t in "${targets[@]}"; do
  seeds="fuzz/corpus/${t#fuzz_}"
  work="$out/$t-corpus"
  mkdir -p "$work" "$out/$t-crashes"
  log="$out/$t.log"
  set +e
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    "build-fuzz/fuzz/$t" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/$t-crashes/" "$work" "$seeds" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' | tail -n1)
  crashes=$(find "$out/$t-crashes" -type f | wc -l)
  echo "$t executions: ${execs:-0}"
  echo "$t crashes: $crashes"
  if [ $rc -ne 0 ] || [ "$crashes" -ne 0 ]; then
    failed=1
    echo "$t: failed (exit $rc); see $log" >&2
    grep -m5 -E 'ERROR|SUMMARY' "$log" >&2 || true
  fi
done
exit $failed
