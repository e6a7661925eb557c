// The fast routines against their straightforward versions, and properties
// that every formatted line must have, over generated and real lines.
#include <gtest/gtest.h>

#include <random>

#include "basic/basic.h"
#include "formatter/capitalization.h"
#include "formatter/guarded_replace.h"
#include "formatter/pipeline.h"
#include "formatter/spacing.h"
#include "formatter/word_tables.h"
#include "tests/krl_lines.h"
#include "tests/literal_engine.h"

namespace vornette::testing {
namespace {

using Modes = std::array<CapitalizationMode, kKeywordCategoryCount>;

std::vector<std::string> TestLines() {
  std::vector<std::string> lines = GeneratedLines(20000, 20261206);
  const std::vector<std::string>& corpus = CorpusLines();
  lines.insert(lines.end(), corpus.begin(), corpus.end());
  return lines;
}

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = TestLines();
  return lines;
}

Modes Mixed(uint32_t seed) {
  Modes modes;
  for (size_t i = 0; i < modes.size(); ++i) {
    modes[i] = static_cast<CapitalizationMode>((seed >> (2 * i)) % 3);
  }
  return modes;
}

std::string FirstSemicolonOn(std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon == std::string_view::npos ? "" : std::string(line.substr(semicolon));
}

std::string WithoutBlanksFolded(std::string_view line) {
  std::string result;
  for (char c : line) {
    if (c != ' ') result.push_back(ToUpperAscii(c));
  }
  return result;
}

bool HasPlaceholderByte(std::string_view line) {
  return line.find_first_of("\xF0\xF2\xF3\xF7") != std::string_view::npos;
}

TEST(DifferentialTest, SpaceOperatorsMatchesTheTwentyOneRows) {
  for (const std::string& line : Lines()) {
    ASSERT_EQ(SpaceOperators(line), literal::SpaceOperators(line)) << line;
  }
}

TEST(DifferentialTest, CapitalizationMatchesOneReplacementPerWord) {
  uint32_t seed = 1;
  for (const std::string& line : Lines()) {
    const Modes modes = Mixed(seed = seed * 1103515245u + 12345u);
    std::string eight_calls = line;
    std::string literal = line;
    for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
      const auto table = WordTableOf(static_cast<KeywordCategory>(c));
      eight_calls = ApplyCapitalization(eight_calls, table, modes[c]);
      literal = literal::ApplyCapitalization(literal, table, modes[c]);
    }
    ASSERT_EQ(eight_calls, literal) << line;
    std::string at_once = line;
    ApplyAllCapitalizations(at_once, modes);
    ASSERT_EQ(at_once, literal) << line;
  }
}

TEST(DifferentialTest, GuardedReplaceMatchesTheLiteralSteps) {
  static const char* const kPatterns[] = {"",   "=",  "a",   "aa",  ";",  "'",  "\"",   "  ",
                                          "=;", "'a", "end", "END", "or", "x=", "\xF2", "\xE9"};
  std::mt19937 random(7);
  for (const std::string& line : Lines()) {
    const std::string_view old_pattern = kPatterns[random() % std::size(kPatterns)];
    const std::string_view new_pattern = kPatterns[random() % std::size(kPatterns)];
    const uint8_t flags = static_cast<uint8_t>(random() % 4);
    const bool whole_word = random() % 2;
    ASSERT_EQ(GuardedReplace(line, old_pattern, new_pattern, flags, whole_word),
              literal::GuardedReplace(line, old_pattern, new_pattern, flags, whole_word))
        << line << " / " << old_pattern << " / " << int{flags} << whole_word;
  }
}

TEST(DifferentialTest, PipelineMatchesTheLiteralPipeline) {
  uint32_t seed = 3;
  FormatterSettings settings;
  IndentState fast_state;
  IndentState literal_state;
  ByteBuffer scratch;
  for (const std::string& line : Lines()) {
    seed = seed * 1103515245u + 12345u;
    settings.SpacingOperators = (seed >> 20) & 1;
    settings.IndentWidth = static_cast<int32_t>((seed >> 24) % 5) - 1;
    settings.Capitalization = Mixed(seed);
    LineList fast(256);
    FormatLine(line, settings, fast_state, scratch, fast);
    ASSERT_EQ(fast.Lines(),
              std::vector<std::string>{literal::FormatLine(line, settings, literal_state)})
        << line;
    ASSERT_EQ(fast_state.IndentLevel, literal_state.IndentLevel);
    ASSERT_EQ(fast_state.CaseLevel, literal_state.CaseLevel);
  }
}

TEST(PropertyTest, CapitalizationOnlyChangesLetterCase) {
  for (CapitalizationMode mode : {CapitalizationMode::UpperCase, CapitalizationMode::LowerCase}) {
    Modes modes;
    modes.fill(mode);
    for (const std::string& line : Lines()) {
      std::string result = line;
      ApplyAllCapitalizations(result, modes);
      ASSERT_EQ(result.size(), line.size());
      ASSERT_TRUE(SameTextNoCase(result, line)) << line;
    }
  }
}

TEST(PropertyTest, SpacingOnlyAddsAndRemovesBlanksBeforeTheComment) {
  for (const std::string& line : Lines()) {
    const std::string result = SpaceOperators(line);
    ASSERT_EQ(FirstSemicolonOn(result), FirstSemicolonOn(line)) << line;
    // A placeholder byte outside comments and literals becomes its operator.
    if (!HasPlaceholderByte(line)) {
      ASSERT_EQ(WithoutBlanksFolded(result), WithoutBlanksFolded(line)) << line;
    }
  }
}

// A joint with two blanks on one side is not completed, but the collapse
// leaves one blank there, so the next run completes it. Apart from that,
// formatting formatted text changes nothing.
bool HasJointLeftForTheNextRun(std::string_view line) {
  const std::string upper = UpperCase(line);
  for (std::string_view joint : {") OR(", ")OR (", ") AND(", ")AND ("}) {
    if (upper.find(joint) != std::string::npos) return true;
  }
  return false;
}

TEST(PropertyTest, FormattingTwiceEqualsFormattingOnce) {
  FormatterSettings settings;
  settings.Capitalization.fill(CapitalizationMode::UpperCase);
  size_t checked = 0;
  for (const std::string& line : Lines()) {
    if (HasControlByte(line)) continue;
    IndentState state;
    const std::string once = FormatLine(line, settings, state);
    IndentState again;
    const std::string twice = FormatLine(once, settings, again);
    if (HasJointLeftForTheNextRun(once)) continue;
    ASSERT_EQ(twice, once) << line;
    ++checked;
  }
  EXPECT_GT(checked, Lines().size() / 2);
}

}  // namespace
}  // namespace vornette::testing
