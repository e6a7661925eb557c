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
    // The indentation keys are off in most files, as in most users' settings.
    settings.ExtendedBlocks = (seed >> 16) % 4 == 0;
    settings.IndentRoutineBodies = (seed >> 18) % 4 != 0;
    settings.KeepColumnOneComments = (seed >> 22) % 4 == 0;
    const std::vector<std::string> chunk(lines.begin() + start,
                                         lines.begin() + std::min(lines.size(), start + 100));
    std::string file;
    for (const std::string& line : chunk) file += line + "\n";
    const std::vector<std::string> expected = reference::FormatFile(chunk, settings);
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
