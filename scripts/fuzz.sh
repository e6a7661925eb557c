#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
# Seeds come from fuzz/corpus/<target> and from ../shared/corpus/krl when it is
# there, words from fuzz/<target>.dict; findings are kept in
# build/fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORNETTE_FUZZERS=ON -DVORNETTE_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" >/dev/null

status=0
for fuzzer in build/fuzz/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer")
  # A target's own corpus first; the sample programs for those that read KRL.
  seeds=()
  [ -d "fuzz/corpus/${name%_fuzzer}" ] && seeds+=("fuzz/corpus/${name%_fuzzer}")
  [ "$name" != language_server_fuzzer ] && [ -d ../shared/corpus/krl ] && seeds+=(../shared/corpus/krl)
  dictionary=()
  [ -f "fuzz/${name%_fuzzer}.dict" ] && dictionary=("-dict=fuzz/${name%_fuzzer}.dict")
  work=build/fuzz/work/$name
  findings=build/fuzz/findings/$name
  mkdir -p "$work" "$findings"
  log=build/fuzz/$name.log
  if "$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=4096 \
      -artifact_prefix="$findings/" -print_final_stats=1 "${dictionary[@]}" "$work" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(grep -oE 'Done [0-9]+ runs' "$log" | tail -1)
    echo "$name: ${runs:-done}, no finding"
  else
    echo "$name: FINDING, see $log and $findings"
    tail -30 "$log"
    status=1
  fi
done
exit $status
