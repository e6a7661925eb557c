// The program's fast pipeline against the step-by-step forms, over generated
// lines and every line of the sample programs, under changing settings.
#include <gtest/gtest.h>

#include "formatter/pipeline.h"
#include "reference/reference.h"
#include "tests/krl_lines.h"

namespace vornette::testing {
namespace {

TEST(DifferentialTest, PipelineMatchesTheStepByStepForms) {
  std::vector<std::string> lines = GeneratedLines(20000, 20261206);
  lines.insert(lines.end(), CorpusLines().begin(), CorpusLines().end());
  // Every 100 lines are one file with settings of its own.
  uint32_t seed = 3;
  for (size_t start = 0; start < lines.size(); start += 100) {
    seed = seed * 1103515245u + 12345u;
    FormatterSettings settings;
    settings.SpacingOperators = (seed >> 20) & 1;
    settings.IndentWidth = static_cast<int32_t>((seed >> 24) % 5) - 1;
    for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
      settings.Capitalization[c] = static_cast<CapitalizationMode>((seed >> (2 * c)) % 3);
    }
    std::string file;
    std::vector<std::string> expected;
    IndentState state;
    for (size_t i = start; i < std::min(lines.size(), start + 100); ++i) {
      file += lines[i] + "\n";
      expected.push_back(reference::FormatLine(lines[i], settings, state));
    }
    const std::vector<std::string> actual =
        reference::LinesOf(FormatLines(reference::ListOf(file), settings));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
      ASSERT_EQ(actual[i], expected[i]) << "line " << lines[start + i] << ", seed " << seed;
    }
  }
}

}  // namespace
}  // namespace vornette::testing
