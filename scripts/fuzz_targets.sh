# Sourced by the fuzzing scripts: builds the libFuzzer targets with clang,
# and says how each target is run.

# FUZZ_SANITIZERS=undefined builds them without AddressSanitizer into
# build/fuzz-undefined; the default, both, into build/fuzz. Sets `fuzz_build`.
build_fuzzers() {
  scripts/deps.sh clang libclang-rt-14-dev
  local sanitizers=${FUZZ_SANITIZERS:-address,undefined}
  fuzz_build=build/fuzz
  [ "$sanitizers" = address,undefined ] || fuzz_build=build/fuzz-${sanitizers//,/-}
  CXX=clang++ cmake -S . -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORNETTE_FUZZERS=ON -DVORNETTE_TESTS=OFF -DVORNETTE_FUZZ_SANITIZERS="$sanitizers" >/dev/null
  cmake --build "$fuzz_build" -j "$(nproc)" >/dev/null
  # Allocation stacks in reports cost a fifth of every run; a finding is
  # replayed with them afterwards.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}
}

# Sets `flags` (length limit, dictionary) and `seeds` for the target `$1`:
# its corpus in fuzz/corpus/, else the sample programs for the targets that
# read KRL, as a first campaign starts.
target_options() {
  local target=$1
  case $target in
    differential) flags=(-max_len=512 -dict=fuzz/krl.dict) ;;
    format_file) flags=(-max_len=4096 -dict=fuzz/krl.dict) ;;
    config) flags=(-max_len=4096 -dict=fuzz/ini.dict) ;;
    language_server) flags=(-max_len=4096 -dict=fuzz/language_server.dict) ;;
    *) flags=(-max_len=4096) ;;
  esac
  seeds=()
  if [ -d "fuzz/corpus/$target" ]; then
    seeds=("fuzz/corpus/$target")
  elif [ "$target" != language_server ] && [ -d ../shared/corpus/krl ]; then
    seeds=(../shared/corpus/krl fuzz/seeds)
  fi
}
