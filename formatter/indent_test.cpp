#include "formatter/indent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <tuple>

#include "formatter/word_tables.h"

namespace vornette {
namespace {

struct Row {
  std::string_view line;
  std::string_view first_word;
  size_t blanks;
  int64_t indent_level;  // after the line
  int64_t case_level;
};

// Runs `rows` through one IndentState from the first line of a file.
void ExpectRows(std::span<const Row> rows, int32_t width, FormatterSettings settings = {}) {
  settings.IndentWidth = width;
  IndentState state;
  for (const Row& row : rows) {
    EXPECT_EQ(FirstWord(TrimLeft(row.line)), row.first_word) << row.line;
    const IndentedLine result = IndentLine(row.line, state, settings);
    EXPECT_EQ(std::pair(result.blanks, result.text), std::pair(row.blanks, TrimLeft(row.line)));
    EXPECT_EQ(std::pair(state.IndentLevel, state.CaseLevel),
              std::pair(row.indent_level, row.case_level))
        << row.line;
  }
}

TEST(IndentLineTest, WorkedExample) {
  const Row rows[] = {{"DEF Pick()", "DEF", 0, 1, 0},      {"\tINT n", "INT", 2, 1, 0},
                      {";FOLD INIT", ";FOLD", 2, 2, 0},    {"BAS(#INITMOV,0)", "BAS", 4, 2, 0},
                      {";ENDFOLD", ";ENDFOLD", 2, 1, 0},   {"", "", 2, 1, 0},
                      {"IF n>0 THEN", "IF", 2, 2, 0},      {"n=n-1", "n", 4, 2, 0},
                      {"ELSE", "ELSE", 2, 2, 0},           {"n=0", "n", 4, 2, 0},
                      {"ENDIF", "ENDIF", 2, 1, 0},         {"SWITCH n", "SWITCH", 2, 2, 1},
                      {"CASE 1", "CASE", 4, 2, 1},         {"PTP HOME", "PTP", 6, 2, 1},
                      {"CASE 2,3", "CASE", 4, 2, 1},       {"LIN P1", "LIN", 6, 2, 1},
                      {"DEFAULT", "DEFAULT", 4, 2, 1},     {"HALT", "HALT", 6, 2, 1},
                      {"ENDSWITCH", "ENDSWITCH", 2, 1, 0}, {"END", "END", 0, 0, 0}};
  ExpectRows(rows, 2);
}

TEST(IndentLineTest, UnbalancedAndOddStructure) {
  // GLOBAL DEF opens nothing, its END closes; case words without a SWITCH;
  // lines between SWITCH and its first CASE; words glued to "(" or ";".
  // clang-format off
  const Row rows[] = {
      {"GLOBAL DEF P()", "GLOBAL", 0, 0, 0}, {"END", "END", 0, -1, 0},
      {"ENDSWITCH", "ENDSWITCH", 0, -2, 0}, {"CASE 1", "CASE", 0, -2, 1}, {"x", "x", 2, -2, 1},
      {"SWITCH a", "SWITCH", 2, -1, 2}, {";c", ";c", 4, -1, 2}, {"CASE 2", "CASE", 2, -1, 2},
      {"endswitch", "endswitch", 2, -2, 1}, {"endswitch", "endswitch", 0, -3, 0},
      {"IF(n>0) THEN", "IF", 0, -2, 0}, {"WHILE(TRUE)", "WHILE", 0, -1, 0},
      {"ENDIF;done", "ENDIF;done", 0, -1, 0}, {"ENDWHILE\t; tab", "ENDWHILE", 0, -2, 0},
      {"; FOLD x", ";", 0, -2, 0}, {"{X 10}", "", 0, -2, 0}, {"INTERRUPT DECL 1", "INTERRUPT", 0, -2, 0},
      {"LoOp", "LoOp", 0, -1, 0}, {"\x0C\x01Until x", "Until", 0, -2, 0}, {"\xE4nd x", "\xE4nd", 0, -2, 0}};
  // clang-format on
  ExpectRows(rows, 2);
}

TEST(IndentLineTest, WidthZeroAndNegative) {
  // clang-format off
  const Row zero[] = {{"DEF a()", "DEF", 0, 1, 0}, {"  x", "x", 0, 1, 0}};
  const Row negative[] = {{"DEF a()", "DEF", 0, 1, 0}, {"x", "x", 0, 1, 0}, {"END", "END", 0, 0, 0},
                          {"END", "END", 2, -1, 0}, {"y   ", "y", 2, -1, 0}};
  // clang-format on
  ExpectRows(zero, 0);
  ExpectRows(negative, -2);
}

TEST(IndentLineTest, ExtendedBlocksAndFlatRoutines) {
  FormatterSettings extended;
  extended.ExtendedBlocks = true;
  // clang-format off
  const Row weld[] = {
      {"GLOBAL DEF Weld()", "GLOBAL", 0, 1, 0}, {"SPLINE WITH $VEL.CP = 0.2", "SPLINE", 2, 2, 0},
      {"SLIN P1", "SLIN", 4, 2, 0}, {"TIME_BLOCK START", "TIME_BLOCK", 4, 3, 0}, {"SLIN P2", "SLIN", 6, 3, 0},
      {"TIME_BLOCK PART = 40", "TIME_BLOCK", 4, 3, 0}, {"SCIRC P3, P4", "SCIRC", 6, 3, 0},
      {"TIME_BLOCK END = 2.5", "TIME_BLOCK", 4, 2, 0}, {"CONST_VEL START = 100", "CONST_VEL", 4, 3, 0},
      {"SLIN P5", "SLIN", 6, 3, 0}, {"CONST_VEL END = 100", "CONST_VEL", 4, 2, 0},
      {"ENDSPLINE", "ENDSPLINE", 2, 1, 0}, {"END", "END", 0, 0, 0},
      {"GLOBAL DEFFCT INT Count()", "GLOBAL", 0, 1, 0}, {"RETURN 1", "RETURN", 2, 1, 0},
      {"ENDFCT", "ENDFCT", 0, 0, 0}};
  const Row odd[] = {
      {"global\tdefdat d", "global", 0, 1, 0}, {"Global Decl int x", "Global", 2, 1, 0},
      {"ptp_spline", "ptp_spline", 2, 2, 0}, {"skip x", "skip", 4, 3, 0}, {"endskip", "endskip", 4, 2, 0},
      {"TIME_BLOCK(START", "TIME_BLOCK", 4, 2, 0}, {"time_block start;x", "time_block", 4, 2, 0},
      {"const_vel part", "const_vel", 4, 2, 0}, {"time_block start", "time_block", 4, 3, 0},
      {"GLOBAL", "GLOBAL", 6, 3, 0}};
  const Row flat[] = {
      {"DEF a()", "DEF", 0, 0, 0}, {"IF x THEN", "IF", 0, 1, 0}, {"ENDIF", "ENDIF", 0, 0, 0},
      {"GLOBAL DEF b()", "GLOBAL", 0, 0, 0}, {"TIME_BLOCK START", "TIME_BLOCK", 0, 1, 0},
      {"TIME_BLOCK END", "TIME_BLOCK", 0, 0, 0}, {"ENDDAT", "ENDDAT", 0, 0, 0}};
  // Without the extended rules GLOBAL DEF and the spline words open nothing.
  const Row classic[] = {
      {"GLOBAL DEF a()", "GLOBAL", 0, 0, 0}, {"SPLINE", "SPLINE", 0, 0, 0}, {"DEF b()", "DEF", 0, 1, 0}};
  // clang-format on
  ExpectRows(weld, 2, extended);
  ExpectRows(odd, 2, extended);
  ExpectRows(classic, 2);
  extended.IndentRoutineBodies = false;
  ExpectRows(flat, 2, extended);
}

TEST(IndentLineTest, FoldsOpenNothingWhenSwitchedOff) {
  FormatterSettings flat_folds;
  flat_folds.IndentFolds = false;
  // clang-format off
  const Row rows[] = {
      {"DEF a()", "DEF", 0, 1, 0}, {";FOLD PTP HOME", ";FOLD", 2, 1, 0}, {"PTP HOME", "PTP", 2, 1, 0},
      {";endfold", ";endfold", 2, 1, 0}, {"IF x THEN", "IF", 2, 2, 0}, {"END", "END", 2, 1, 0}};
  // clang-format on
  ExpectRows(rows, 2, flat_folds);
}

TEST(IndentLineTest, ProductBeyondThirtyTwoBitsCannotBeBuilt) {
  // IndentWidth, the level, and whether the product leaves the 32-bit range.
  // clang-format off
  const std::tuple<int32_t, int64_t, bool> cases[] = {
      {1073741824, 2, true}, {2147483647, 2, true}, {2, 1073741824, true}, {-2147483647 - 1, 2, true},
      {1, -2147483649LL, true}, {-1, -2147483648LL, true}, {-2147483647 - 1, 1, false},
      {2147483647, 0, false}, {2147483647, 1, false}, {-1, 2147483647, false}, {1, -2147483648LL, false},
      {0, 4000000000LL, false}};
  // clang-format on
  for (const auto& [width, level, fails] : cases) {
    IndentState state{level, 0};
    const FormatterSettings settings{true, width};
    if (fails) {
      EXPECT_THROW(IndentLine("x", state, settings), std::bad_alloc) << width << " " << level;
    } else {
      // Counted, never built here: the largest count still fits.
      EXPECT_EQ(IndentLine("x", state, settings).blanks,
                static_cast<size_t>(std::max<int64_t>(0, int64_t{width} * level)))
          << width << " " << level;
    }
  }
}

}  // namespace
}  // namespace vornette
