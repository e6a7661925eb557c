// Matching .vornetteignore patterns: a controller archive's usual lines on
// a usual path, and patterns that make a backtracking matcher take time
// exponential in the path's depth ("**/**/**/*a" on a deep path that ends
// otherwise), which must stay linear in the path.
#include <benchmark/benchmark.h>

#include <string>

#include "settings_discovery/ignore_matcher.h"

namespace vornette {
namespace {

const char kArchiveLines[] =
    "R1/System/\nR1/TP/\nR1/Mada/\nSTEU/Mada/\nC/KRC/Roboter/Template/\n**/ir_stopm.src\nsps.sub\n"
    "*.bak\n!R1/Program/**\n";

void UsualPatternsOnAnArchivePath(benchmark::State& state) {
  const IgnorePatterns patterns(kArchiveLines);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        patterns.LastMatch("KRC/R1/Program/Cell/Pick/pick_conveyor.src", false));
  }
}
BENCHMARK(UsualPatternsOnAnArchivePath);

// A path of `state.range(0)` folders "a/" ending in "b": every "**" may end
// at any of them, and nothing matches.
void StarsOnADeepPath(benchmark::State& state) {
  const Glob glob("**/**/**/*a");
  std::string path;
  for (int64_t i = 0; i < state.range(0); ++i) path += "a/";
  path += "b";
  for (auto _ : state) benchmark::DoNotOptimize(glob.Matches(path));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * path.size()));
}
BENCHMARK(StarsOnADeepPath)->Arg(16)->Arg(256)->Arg(4096);

}  // namespace
}  // namespace vornette
