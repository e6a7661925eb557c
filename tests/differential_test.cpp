// The fast pipeline against the step-by-step forms of reference/, with the
// other properties of the whole-file fuzz target (one line out per line in,
// capitalization changes only letter case, spacing nothing from the first
// ";" on, formatting twice changes nothing): over the fuzz seeds and findings
// and over every sample program, each under settings of its own.
#include <gtest/gtest.h>

#include "fuzz/fuzz_check.h"
#include "tests/run_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vornette::testing {
namespace {

TEST(DifferentialTest, PipelineMatchesTheStepByStepForms) {
  std::vector<std::string> inputs = FilesBelow(VORNETTE_SOURCE_DIR "/fuzz/seeds");
  for (const std::string& path : FilesBelow(VORNETTE_SOURCE_DIR "/fuzz/regressions")) {
    inputs.push_back(path);
  }
  const size_t fuzz_inputs = inputs.size();
  for (const std::string& path : FilesBelow(CorpusDir())) inputs.push_back(path);
  uint32_t seed = 3;
  for (size_t i = 0; i < inputs.size(); ++i) {
    // The first four bytes choose the settings; a sample program gets drawn ones.
    std::string bytes = ReadBytes(inputs[i]);
    seed = seed * 1103515245u + 12345u;
    if (i >= fuzz_inputs) {
      bytes.insert(0, {char(seed >> 8), char(seed >> 16), char(seed >> 24), char(seed >> 3)});
    }
    fuzz_input_name = inputs[i].c_str();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  EXPECT_GE(fuzz_inputs, 5u);
}

}  // namespace
}  // namespace vornette::testing
