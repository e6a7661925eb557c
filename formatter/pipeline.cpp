#include "formatter/pipeline.h"

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
// line so that no line allocates (and whose room is only touched as far as
// a line fills it).
std::string_view SpaceAndRecase(std::string_view line, const FormatterSettings& settings,
                                bool recase, ByteBuffer& scratch) {
  if (!settings.SpacingOperators && !recase) return line;
  scratch.Reserve(SpacedLengthBound(line.size()));
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
                ByteBuffer& scratch, LineList& out) {
  const std::string_view current =
      SpaceAndRecase(line, settings, AnyCapitalization(settings), scratch);
  const IndentedLine indented = IndentLineParts(current, state, settings.IndentWidth);
  out.AppendLine(indented.blanks, indented.text);
}

std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state) {
  ByteBuffer scratch;
  return IndentLine(SpaceAndRecase(line, settings, AnyCapitalization(settings), scratch), state,
                    settings.IndentWidth);
}

LineList FormatLines(LineList lines, const FormatterSettings& settings) {
  IndentState state;
  ByteBuffer scratch;
  // The settings do not change within a file: decide once whether to recase.
  const bool recase = AnyCapitalization(settings);
  lines.RewriteLines([&](std::string_view line) {
    return IndentLineParts(SpaceAndRecase(line, settings, recase, scratch), state,
                           settings.IndentWidth);
  });
  return lines;
}

}  // namespace vornette
