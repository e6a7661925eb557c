#include "formatter/pipeline.h"

#include <algorithm>

#include "formatter/capitalization.h"
#include "formatter/spacing.h"

namespace vornette {
namespace {

bool AnyCapitalization(const FormatterSettings& settings) {
  for (CapitalizationMode mode : settings.Capitalization) {
    if (mode == CapitalizationMode::UpperCase || mode == CapitalizationMode::LowerCase) return true;
  }
  return false;
}

// The line after spacing and capitalization: `line` itself when neither
// runs, else `scratch`.
std::string_view SpaceAndRecase(std::string_view line, const FormatterSettings& settings,
                                std::string& scratch) {
  std::string_view current = line;
  if (settings.SpacingOperators) {
    scratch.clear();
    AppendSpacedOperators(line, scratch);
    current = scratch;
  }
  if (AnyCapitalization(settings)) {
    if (!settings.SpacingOperators) scratch.assign(line);
    ApplyAllCapitalizations(scratch, settings.Capitalization);
    current = scratch;
  }
  return current;
}

}  // namespace

void FormatLine(std::string_view line, const FormatterSettings& settings, IndentState& state,
                std::string& scratch, LineList& out) {
  const std::string_view current = SpaceAndRecase(line, settings, scratch);
  const IndentedLine indented = IndentLineParts(current, state, settings.IndentWidth);
  out.AppendLine(indented.blanks, indented.text);
}

std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state) {
  std::string scratch;
  return IndentLine(SpaceAndRecase(line, settings, scratch), state, settings.IndentWidth);
}

LineList FormatLines(const LineList& input, const FormatterSettings& settings) {
  // Formatting adds a little; a small file gets a small block.
  const size_t estimate = input.bytes() + input.bytes() / 4 + 64;
  LineList output(std::min(estimate, LineList::kBlockSize));
  IndentState state;
  std::string scratch;
  input.ForEachLine(
      [&](std::string_view line) { FormatLine(line, settings, state, scratch, output); });
  return output;
}

}  // namespace vornette
