#include "formatter/pipeline.h"

#include <cstring>
#include <span>

#include "formatter/capitalization.h"
#include "formatter/spacing.h"

namespace vornette {

bool AnyCapitalization(const FormatterSettings& settings) {
  for (CapitalizationMode mode : settings.Capitalization) {
    if (mode == CapitalizationMode::UpperCase || mode == CapitalizationMode::LowerCase) return true;
  }
  return false;
}

IndentedLine FormatLine(std::string_view line, const FormatterSettings& settings, bool recase,
                        IndentState& state, ByteBuffer& scratch) {
  std::string_view current = line;
  if (settings.SpacingOperators || recase) {
    // The scratch keeps its largest size from line to line, and its room is
    // only touched as far as a line fills it.
    scratch.Reserve(SpacedLengthBound(line.size()));
    size_t length;
    if (settings.SpacingOperators) {
      length = SpaceOperators(line, scratch.data());
    } else {
      length = line.size();
      std::memcpy(scratch.data(), line.data(), length);
    }
    if (recase) {
      ApplyCapitalizations(std::span<char>(scratch.data(), length), settings.Capitalization);
    }
    current = std::string_view(scratch.data(), length);
  }
  return IndentLine(current, state, settings.IndentWidth);
}

LineList FormatLines(LineList lines, const FormatterSettings& settings) {
  IndentState state;
  ByteBuffer scratch;
  // The settings do not change within a file: decide once whether to recase.
  const bool recase = AnyCapitalization(settings);
  lines.RewriteLines(
      [&](std::string_view line) { return FormatLine(line, settings, recase, state, scratch); });
  return lines;
}

}  // namespace vornette
