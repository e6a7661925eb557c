#!/usr/bin/env bash
# The whole-program benchmark: times vornette (spacing on, every category
# UpperCase) on a generated 64 MB KRL file against the floor of reading it
# once and writing it twice (cat f > b; cat f > c), then a 1 MB against an
# 8 MB single line, and one screen of code. Prints medians of several runs;
# then the per-stage and the language server's microbenchmarks.
# Usage: scripts/bench.sh [runs, default 7]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}

scripts/deps.sh libbenchmark-dev
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF \
  -DVORNETTE_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j "$(nproc)" >/dev/null
bin=$PWD/build/bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/vornette" "$work/"
cat >"$work/Vornette.ini" <<'INI'
[Spacing]
SpacingOperators=1
[Capitalization]
CAP_ProgramFlowStrings=UpperCase
CAP_SetupCommandStrings=UpperCase
CAP_MotionCommandStrings=UpperCase
CAP_MathAndFunctionStrings=UpperCase
CAP_IOCommandStrings=UpperCase
CAP_TypeDefinitionStrings=UpperCase
CAP_SystemVariableStrings=UpperCase
CAP_OpusTechFunctionStrings=UpperCase
INI
cd "$work"
"$bin/bench/generate_krl" 64 >big.src
size=$(stat -c %s big.src)

timed() { "$bin/bench/run_timed" "$runs" "$@"; }
read -r floor floor_kb < <(timed sh -c 'cat big.src > b; cat big.src > c')
read -r prog prog_kb < <(timed --prepare 'cp big.src w.src' ./vornette w.src)
awk -v f="$floor" -v p="$prog" -v s="$size" -v kb="$prog_kb" 'BEGIN {
  printf "64 MB file (%d bytes), median of runs:\n", s
  printf "  floor (cat f > b; cat f > c): %7.1f ms\n", f * 1000
  printf "  vornette, every stage on:     %7.1f ms  = %.2f x floor, %.0f MB/s, peak %.0f MB (%.2f x file)\n",
         p * 1000, p / f, s / p / 1048576, kb / 1024, kb * 1024 / s
}'

"$bin/bench/generate_krl" 0 1024 >one.src
"$bin/bench/generate_krl" 0 8192 >eight.src
read -r one _ < <(timed --prepare 'cp one.src w1.src' ./vornette w1.src)
read -r eight _ < <(timed --prepare 'cp eight.src w8.src' ./vornette w8.src)
awk -v a="$one" -v b="$eight" 'BEGIN {
  printf "single line: 1 MB %.1f ms, 8 MB %.1f ms, ratio %.1f (linear: 8)\n", a * 1000, b * 1000, b / a
}'

head -c 2500 big.src >small.src
read -r small small_kb < <(timed --prepare 'cp small.src ws.src' ./vornette ws.src)
read -r bare _ < <(timed /bin/true)
awk -v t="$small" -v kb="$small_kb" -v b="$bare" 'BEGIN {
  printf "one screen of code (2.5 KB): %.2f ms wall for the whole process, peak %.1f MB", t * 1000, kb / 1024
  printf " (starting /bin/true alone: %.2f ms)\n", b * 1000
}'

# vornette-format: standard input of 64 MB against vornette on the same file,
# and --check over a folder of many small files against cat reading them.
cp "$bin/vornette-format" .
read -r fmt fmt_kb < <(timed sh -c './vornette-format < big.src > formatted.out')
awk -v p="$prog" -v f="$fmt" -v s="$size" -v kb="$fmt_kb" 'BEGIN {
  printf "vornette-format, 64 MB from standard input to standard output: %.1f ms, %.0f MB/s, peak %.0f MB (vornette on the file: %.1f ms)\n",
         f * 1000, s / f / 1048576, kb / 1024, p * 1000
}'
mkdir -p many
split -a 4 -b 2500 big.src many/part
for f in many/part*; do mv "$f" "$f.src"; done
count=$(ls many | wc -l)
read -r cat_time _ < <(timed sh -c 'cat many/* > /dev/null')
./vornette-format -i many
read -r check _ < <(timed ./vornette-format --check many)
awk -v c="$cat_time" -v k="$check" -v n="$count" 'BEGIN {
  printf "vornette-format --check over %d formatted files of 2.5 KB: %.1f ms; cat reading them: %.1f ms; ratio %.2f\n",
         n, k * 1000, c * 1000, k / c
}'

if [ "${BENCH_STAGES:-1}" = 1 ]; then
  "$bin/bench/stages_benchmark" --benchmark_min_time=0.2
  "$bin/bench/language_server_benchmark" --benchmark_min_time=0.2
fi
