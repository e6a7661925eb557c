// The whole formatting of a file's bytes, under settings taken from the first
// bytes of the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "basic/basic.h"
#include "formatter/capitalization.h"
#include "formatter/line_list.h"
#include "formatter/pipeline.h"
#include "formatter/spacing.h"
#include "formatter/word_tables.h"
#include "fuzz/fuzz_check.h"
#include "tests/literal_engine.h"

namespace vornette {
namespace {

bool HasControlByteOtherThanTab(std::string_view line) {
  for (char c : line) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) return true;
  }
  return false;
}

// A joint with two blanks on one side is not completed, but the collapse
// leaves one blank there, so the next run completes it.
bool HasJointLeftForTheNextRun(std::string_view line) {
  const std::string upper = UpperCase(line);
  for (std::string_view joint : {") OR(", ")OR (", ") AND(", ")AND ("}) {
    if (upper.find(joint) != std::string::npos) return true;
  }
  return false;
}

std::string WithoutBlanksFolded(std::string_view line) {
  std::string result;
  for (char c : line) {
    if (c != ' ') result.push_back(ToUpperAscii(c));
  }
  return result;
}

std::string_view FromFirstSemicolon(std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon);
}

void CheckLine(std::string_view line, const FormatterSettings& settings) {
  // Capitalization keeps the length and changes only letter case.
  std::string recased(line);
  ApplyAllCapitalizations(recased, settings.Capitalization);
  FUZZ_CHECK(recased.size() == line.size());
  FUZZ_CHECK(SameTextNoCase(recased, line));
  // Spacing changes nothing from the first ";" on, and only blanks and case
  // elsewhere (placeholder bytes aside, which become their operators).
  const std::string spaced = SpaceOperators(line);
  FUZZ_CHECK(spaced == literal::SpaceOperators(line));
  FUZZ_CHECK(FromFirstSemicolon(spaced) == FromFirstSemicolon(line));
  if (line.find_first_of("\xF0\xF2\xF3\xF7") == std::string_view::npos) {
    FUZZ_CHECK(WithoutBlanksFolded(spaced) == WithoutBlanksFolded(line));
  }
}

}  // namespace
}  // namespace vornette

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  if (size < 3) return 0;
  FormatterSettings settings;
  settings.SpacingOperators = data[0] & 1;
  settings.IndentWidth = static_cast<int32_t>(data[0] >> 1) % 9 - 2;
  for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
    const unsigned bits = (data[1] | (data[2] << 8)) >> (2 * c);
    settings.Capitalization[c] = static_cast<CapitalizationMode>(bits % 3);
  }
  const std::string bytes(reinterpret_cast<const char*>(data) + 3, size - 3);

  LineList input;
  if (!CutIntoLines(bytes, &input)) {
    FUZZ_CHECK(bytes.find('\0') != std::string::npos);
    return 0;
  }
  const LineList once = FormatLines(input.Clone(), settings);
  FUZZ_CHECK(once.size() == input.size());

  // The fast pipeline agrees with the literal one, line by line.
  IndentState literal_state;
  std::vector<std::string> expected;
  bool idempotent_input = true;
  input.ForEachLine([&](std::string_view line) {
    CheckLine(line, settings);
    expected.push_back(literal::FormatLine(line, settings, literal_state));
    idempotent_input = idempotent_input && !HasControlByteOtherThanTab(line);
  });
  const std::vector<std::string> lines = once.Lines();
  FUZZ_CHECK(lines == expected);

  // Formatting the output again gives the output.
  if (idempotent_input) {
    bool joint_left = false;
    for (const std::string& line : lines)
      joint_left = joint_left || HasJointLeftForTheNextRun(line);
    if (!joint_left) FUZZ_CHECK(FormatLines(once.Clone(), settings).Lines() == lines);
  }
  return 0;
}
