#include "formatter/pipeline.h"

#include <gtest/gtest.h>

#include "tests/literal_engine.h"

namespace vornette {
namespace {

FormatterSettings AllUpper() {
  FormatterSettings settings;
  settings.Capitalization.fill(CapitalizationMode::UpperCase);
  return settings;
}

std::string Format(std::string_view line, const FormatterSettings& settings, IndentState& state) {
  // Both forms of the pipeline give the same line and leave the same state.
  IndentState copy = state;
  ByteBuffer scratch;
  LineList out(256);
  FormatLine(line, settings, copy, scratch, out);
  const std::string result = FormatLine(line, settings, state);
  EXPECT_EQ(out.Lines(), std::vector<std::string>{result});
  EXPECT_EQ(copy.IndentLevel, state.IndentLevel);
  EXPECT_EQ(copy.CaseLevel, state.CaseLevel);
  return result;
}

TEST(FormatLineTest, RoadOfOneLine) {
  IndentState state{1, 0};
  const FormatterSettings settings = AllUpper();
  EXPECT_EQ(Format("   if $in[1]==true then ;wait for $in[2]", settings, state),
            "  IF $IN[1] == TRUE THEN ;wait for $in[2]");
  EXPECT_EQ(state.IndentLevel, 2);
  EXPECT_EQ(state.CaseLevel, 0);
}

TEST(FormatLineTest, StagesFollowTheSettings) {
  struct Case {
    std::string_view line;
    bool spacing;
    CapitalizationMode mode;
    std::string_view result;
  };
  const Case cases[] = {
      {"  x=1 ;c", false, CapitalizationMode::None, "x=1 ;c"},
      {"  x=1 ;c", true, CapitalizationMode::None, "x = 1 ;c"},
      {"  x=1 ;c", false, CapitalizationMode::UpperCase, "X=1 ;c"},
      {"  x=1;c", true, CapitalizationMode::UpperCase, "X = 1 ;c"},
      // Spacing puts the blank before ";" that lets ENDIF close its block.
      {"endif;x", true, CapitalizationMode::LowerCase, "endif ;x"},
      {"\x0Cwait", true, CapitalizationMode::UpperCase, "wait"},
  };
  for (const Case& c : cases) {
    FormatterSettings settings;
    settings.SpacingOperators = c.spacing;
    settings.Capitalization.fill(c.mode);
    IndentState state;
    EXPECT_EQ(Format(c.line, settings, state), c.result) << c.line;
  }
}

TEST(FormatLinesTest, WholeFileSharesOneState) {
  LineList input;
  for (std::string_view line : {"def p()", "if a==1 then", "x=1", "endif", "end", ""}) {
    input.Append(line);
  }
  const LineList output = FormatLines(std::move(input), AllUpper());
  EXPECT_EQ(output.Lines(), (std::vector<std::string>{"DEF p()", "  IF A == 1 THEN", "    X = 1",
                                                      "  ENDIF", "END", ""}));
}

TEST(FormatLinesTest, IndentationBeyondRangeStopsTheFile) {
  LineList input;
  input.Append("def p()");
  input.Append("x");
  FormatterSettings settings;
  settings.IndentWidth = 2147483647;
  LineList one_line;
  one_line.Append("def p()");
  EXPECT_NO_THROW(FormatLines(std::move(one_line), settings));
  settings.IndentWidth = -2147483647 - 1;
  input.Append("end");
  input.Append("end");
  input.Append("end");
  EXPECT_THROW(FormatLines(std::move(input), settings), std::bad_alloc);
}

}  // namespace
}  // namespace vornette
