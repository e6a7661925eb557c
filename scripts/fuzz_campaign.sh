#!/usr/bin/env bash
# A fuzzing campaign for one target: RUNS executions in all, spread over
# JOBS processes, from the corpus the target has learned; then that corpus
# and the new finds merged and minimized back into fuzz/corpus/<target>/,
# for the next campaign and for every CI run to start from. A finding stops
# the campaign and stays in build/fuzz/findings/<target>/campaign-<time>/.
# Usage: scripts/fuzz_campaign.sh TARGET RUNS [JOBS, default the cores]
# FUZZ_SANITIZERS=undefined runs up to three times as many inputs a second
# without AddressSanitizer; the merged corpus is then replayed with it
# before it replaces the old one.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
runs=$2
jobs=${3:-$(nproc)}
. scripts/fuzz_targets.sh
build_fuzzers
target_options "$target"

fuzzer=$PWD/$fuzz_build/fuzz/${target}_fuzzer
work=$PWD/$fuzz_build/campaign/$target
findings=$PWD/build/fuzz/findings/$target/campaign-$(date +%Y%m%d-%H%M%S)
rm -rf "$work"
mkdir -p "$work/found" "$work/logs" "$findings"
seeds=("${seeds[@]/#/$PWD/}")
flags=("${flags[@]/#-dict=/-dict=$PWD/}")
(cd "$work/logs" && "$fuzzer" -jobs="$jobs" -workers="$jobs" -runs=$((runs / jobs)) -timeout=20 \
  -rss_limit_mb=4096 "${flags[@]}" -artifact_prefix="$findings/" -print_final_stats=1 \
  "$work/found" "${seeds[@]}" >/dev/null 2>&1) || true
total=$(cat "$work"/logs/fuzz-*.log | grep -oE '^Done [0-9]+ runs' | awk '{ s += $2 } END { print s + 0 }')
if ls "$findings"/crash-* "$findings"/leak-* "$findings"/timeout-* "$findings"/oom-* >/dev/null 2>&1; then
  echo "$target: FINDING after $total runs, see $findings and $work/logs"
  exit 1
fi

merged=$work/merged
mkdir -p "$merged"
"$fuzzer" -merge=1 "${flags[@]}" "$merged" "$work/found" "${seeds[@]}" >"$work/merge.log" 2>&1
if [ "$fuzz_build" != build/fuzz ]; then
  FUZZ_SANITIZERS= build_fuzzers
  if ! "$fuzz_build/fuzz/${target}_fuzzer" -runs=0 "${flags[@]}" -artifact_prefix="$findings/" \
    "$merged" >"$work/replay.log" 2>&1; then
    echo "$target: the merged corpus fails under AddressSanitizer, see $work/replay.log"
    exit 1
  fi
fi
rm -rf "fuzz/corpus/$target"
mkdir -p "fuzz/corpus/$target"
cp "$merged"/* "fuzz/corpus/$target/"
echo "$target: $total runs; corpus $(ls "fuzz/corpus/$target" | wc -l) files," \
  "$(cat "fuzz/corpus/$target"/* | wc -c) bytes"
