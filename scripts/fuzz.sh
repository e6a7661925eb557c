#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while from the
# corpus it has learned (fuzz/corpus/<target>/), without AddressSanitizer
# when FUZZ_SANITIZERS=undefined; findings are kept in
# build/fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
. scripts/fuzz_targets.sh
build_fuzzers

status=0
for fuzzer in "$fuzz_build"/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  target_options "$name"
  work=$fuzz_build/work/$name
  findings=build/fuzz/findings/$name
  mkdir -p "$work" "$findings"
  log=$fuzz_build/$name.log
  if "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 "${flags[@]}" \
      -artifact_prefix="$findings/" -print_final_stats=1 "$work" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(grep -oE 'Done [0-9]+ runs' "$log" | tail -1 | awk '{ print $2 }')
    rate=$(grep -oE 'exec_per_sec: *[0-9]+' "$log" | awk '{ print $2 }')
    echo "$name: $runs runs, $rate a second, no finding"
  else
    echo "$name: FINDING, see $log and $findings"
    tail -30 "$log"
    status=1
  fi
done
exit $status
