// The fast pipeline against the step-by-step forms of reference/, with the
// other properties of the whole-file fuzz target (one line out per line in,
// capitalization changes only letter case, spacing nothing from the first
// ";" on, formatting twice changes nothing): over the fuzz seeds and findings
// and over every sample program, each under settings of its own.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_check.h"
#include "tests/run_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vornette::testing {
namespace {

TEST(DifferentialTest, PipelineMatchesTheStepByStepForms) {
  std::vector<std::string> inputs = FilesBelow(VORNETTE_SOURCE_DIR "/fuzz");
  std::erase_if(inputs, [](const std::string& path) {
    return std::filesystem::path(path).extension() != "";  // sources, not inputs
  });
  const std::vector<std::string> corpus = FilesBelow(CorpusDir());
  inputs.insert(inputs.end(), corpus.begin(), corpus.end());
  uint32_t seed = 3;
  for (const std::string& path : inputs) {
    // The first three bytes choose the settings: those of a sample program
    // are drawn instead.
    std::string bytes = ReadBytes(path);
    if (path.starts_with(CorpusDir())) {
      seed = seed * 1103515245u + 12345u;
      bytes.insert(0, {static_cast<char>(seed >> 8), static_cast<char>(seed >> 16),
                       static_cast<char>(seed >> 24)});
    }
    fuzz_input_name = path.c_str();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  EXPECT_GT(inputs.size(), 4u);
}

}  // namespace
}  // namespace vornette::testing
