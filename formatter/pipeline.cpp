#include "formatter/pipeline.h"

#include <algorithm>
#include <cstring>
#include <span>

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
// runs, else a part of `scratch`, which keeps its largest size from line to
// line so that no line allocates.
std::string_view SpaceAndRecase(std::string_view line, const FormatterSettings& settings,
                                std::string& scratch) {
  const bool recase = AnyCapitalization(settings);
  if (!settings.SpacingOperators && !recase) return line;
  const size_t room = SpacedLengthBound(line.size());
  if (scratch.size() < room) scratch.resize(room);
  size_t length;
  if (settings.SpacingOperators) {
    length = WriteSpacedOperators(line, scratch.data());
  } else {
    length = line.size();
    std::memcpy(scratch.data(), line.data(), length);
  }
  if (recase)
    ApplyAllCapitalizations(std::span<char>(scratch.data(), length), settings.Capitalization);
  return std::string_view(scratch.data(), length);
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

LineList FormatLines(LineList lines, const FormatterSettings& settings) {
  IndentState state;
  std::string scratch;
  lines.RewriteLines([&](std::string_view line) {
    return IndentLineParts(SpaceAndRecase(line, settings, scratch), state, settings.IndentWidth);
  });
  return lines;
}

}  // namespace vornette
