#include "formatter/pipeline.h"

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

}  // namespace

void FormatLine(std::string_view line, const FormatterSettings& settings, IndentState& state,
                std::string& scratch, std::string& out) {
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
  AppendIndentedLine(current, state, settings.IndentWidth, out);
}

LineList FormatLines(const LineList& input, const FormatterSettings& settings) {
  LineList output;
  IndentState state;
  std::string scratch;
  input.ForEachLine([&](std::string_view line) {
    FormatLine(line, settings, state, scratch, output.BeginLine());
    output.EndLine();
  });
  return output;
}

}  // namespace vornette
