#include "formatter/indent.h"

#include <gtest/gtest.h>

#include <new>

#include "basic/basic.h"
#include "formatter/word_tables.h"

namespace vornette {
namespace {

struct Row {
  std::string_view line;
  std::string_view first_word;
  int blanks;
  int64_t indent_level;
  int64_t case_level;
};

// Runs `rows` through one IndentState from the first line of a file.
void ExpectRows(std::span<const Row> rows, int32_t width) {
  IndentState state;
  for (const Row& row : rows) {
    EXPECT_EQ(FirstWord(TrimLeft(row.line)), row.first_word) << row.line;
    const std::string result = IndentLine(row.line, state, width);
    EXPECT_EQ(result, std::string(row.blanks, ' ') + std::string(TrimLeft(row.line))) << row.line;
    EXPECT_EQ(state.IndentLevel, row.indent_level) << row.line;
    EXPECT_EQ(state.CaseLevel, row.case_level) << row.line;
  }
}

TEST(IndentLineTest, WorkedExample) {
  const Row rows[] = {
      {"DEF Pick()", "DEF", 0, 1, 0},      {"\tINT n", "INT", 2, 1, 0},
      {";FOLD INIT", ";FOLD", 2, 2, 0},    {"BAS(#INITMOV,0)", "BAS", 4, 2, 0},
      {";ENDFOLD", ";ENDFOLD", 2, 1, 0},   {"", "", 2, 1, 0},
      {"IF n>0 THEN", "IF", 2, 2, 0},      {"n=n-1", "n", 4, 2, 0},
      {"ELSE", "ELSE", 2, 2, 0},           {"n=0", "n", 4, 2, 0},
      {"ENDIF", "ENDIF", 2, 1, 0},         {"SWITCH n", "SWITCH", 2, 2, 1},
      {"CASE 1", "CASE", 4, 2, 1},         {"PTP HOME", "PTP", 6, 2, 1},
      {"CASE 2,3", "CASE", 4, 2, 1},       {"LIN P1", "LIN", 6, 2, 1},
      {"DEFAULT", "DEFAULT", 4, 2, 1},     {"HALT", "HALT", 6, 2, 1},
      {"ENDSWITCH", "ENDSWITCH", 2, 1, 0}, {"END", "END", 0, 0, 0},
  };
  ExpectRows(rows, 2);
}

TEST(IndentLineTest, UnbalancedAndOddStructure) {
  // GLOBAL DEF opens nothing, its END takes the level below 0.
  const Row global_def[] = {
      {"GLOBAL DEF P()", "GLOBAL", 0, 0, 0}, {"x=1", "x", 0, 0, 0}, {"END", "END", 0, -1, 0},
      {"DEF Q()", "DEF", 0, 0, 0},           {"y=1", "y", 0, 0, 0},
  };
  ExpectRows(global_def, 2);

  // Case words without a SWITCH; lines between SWITCH and its first CASE.
  const Row stray_case[] = {
      {"ENDSWITCH", "ENDSWITCH", 0, -1, 0},
      {"CASE 1", "CASE", 0, -1, 1},
      {"x", "x", 2, -1, 1},
      {"SWITCH a", "SWITCH", 2, 0, 2},
      {";comment", ";comment", 4, 0, 2},
      {"CASE 2", "CASE", 2, 0, 2},
  };
  ExpectRows(stray_case, 2);

  const Row words[] = {
      {"IF(n>0) THEN", "IF", 0, 1, 0},
      {"WHILE(TRUE)", "WHILE", 2, 2, 0},
      {"ENDIF;done", "ENDIF;done", 4, 2, 0},  // the semicolon is no separator
      {"ENDWHILE\t; tab ends the word", "ENDWHILE", 2, 1, 0},
      {"; FOLD x", ";", 2, 1, 0},
      {"{X 10}", "", 2, 1, 0},
      {"(a)", "", 2, 1, 0},
      {"INTERRUPT DECL 1 WHEN $IN[1] DO P()", "INTERRUPT", 2, 1, 0},
      {"   \t  ", "", 2, 1, 0},
      {"endif", "endif", 0, 0, 0},
      {"LoOp", "LoOp", 0, 1, 0},
      {"\x0C\x01Until x", "Until", 0, 0, 0},
      {"deffct int f()", "deffct", 0, 1, 0},
      {"EndFct", "EndFct", 0, 0, 0},
      {"defdat d", "defdat", 0, 1, 0},
      {"enddat", "enddat", 0, 0, 0},
      {"\xE4nd x", "\xE4nd", 0, 0, 0},
  };
  ExpectRows(words, 2);
}

TEST(IndentLineTest, WidthZeroAndNegative) {
  const Row zero[] = {{"DEF a()", "DEF", 0, 1, 0}, {"  x", "x", 0, 1, 0}};
  ExpectRows(zero, 0);
  const Row negative[] = {
      {"DEF a()", "DEF", 0, 1, 0}, {"x", "x", 0, 1, 0},  {"END", "END", 0, 0, 0},
      {"END", "END", 2, -1, 0},    {"y", "y", 2, -1, 0},
  };
  ExpectRows(negative, -2);
}

TEST(IndentLineTest, KeepsEverythingAfterTheTrim) {
  IndentState state;
  EXPECT_EQ(IndentLine(" \t\x01 a \t b  ", state, 4), "a \t b  ");
  EXPECT_EQ(IndentLine("\xA0x", state, 4), "\xA0x");  // 0xA0 is no blank
}

TEST(IndentLineTest, ProductBeyondThirtyTwoBitsCannotBeBuilt) {
  struct Case {
    int32_t width;
    int64_t level;
    bool fails;
  };
  // Products that stay in range are 0 or negative here, so nothing large is built.
  const Case cases[] = {
      {1073741824, 2, true},       {2147483647, 2, true},    {2, 1073741824, true},
      {-2147483647 - 1, 2, true},  {1, -2147483649LL, true}, {-1, -2147483648LL, true},
      {-2147483647 - 1, 1, false}, {2147483647, 0, false},   {-1, 2147483647, false},
      {1, -2147483648LL, false},   {0, 4000000000LL, false},
  };
  for (const Case& c : cases) {
    IndentState state{c.level, 0};
    if (c.fails) {
      EXPECT_THROW(IndentLine("x", state, c.width), std::bad_alloc) << c.width << " " << c.level;
    } else {
      EXPECT_EQ(IndentLine("x", state, c.width), "x") << c.width << " " << c.level;
    }
  }
}

TEST(IndentLineTest, EveryBlockWordInAnyCaseMovesItsCounters) {
  std::vector<std::string_view> words;
  for (auto table : {std::span<const std::string_view>(BlockOpenWords),
                     std::span<const std::string_view>(BlockCloseWords),
                     std::span<const std::string_view>(CaseOpenWords),
                     std::span<const std::string_view>(CaseCloseWords)}) {
    words.insert(words.end(), table.begin(), table.end());
  }
  for (std::string_view word : words) {
    for (const std::string& written : {UpperCase(word), LowerCase(word)}) {
      IndentState state{5, 5};
      IndentLine(written + " x", state, 2);
      const int64_t open = IsInList(word, BlockOpenWords) - IsInList(word, BlockCloseWords);
      const int64_t cases = IsInList(word, CaseOpenWords) - IsInList(word, CaseCloseWords);
      EXPECT_EQ(state.IndentLevel, 5 + open) << written;
      EXPECT_EQ(state.CaseLevel, 5 + cases) << written;
    }
  }
}

TEST(SeparatorTest, TableAndFastTestAgree) {
  int count = 0;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    EXPECT_EQ(IsSeparator(static_cast<char>(byte)), IsInList(text, SeparatorChars)) << byte;
    count += IsSeparator(static_cast<char>(byte));
  }
  EXPECT_EQ(count, 21);
  for (char c : std::string_view(";./#$_&!%^@\\0aZ\r\n\x7F\x80\xFF")) EXPECT_FALSE(IsSeparator(c));
}

TEST(FirstWordTest, StopsAtTheFirstSeparator) {
  EXPECT_EQ(FirstWord(""), "");
  EXPECT_EQ(FirstWord(" DEF"), "");
  EXPECT_EQ(FirstWord("$OUT[1]=TRUE"), "$OUT");
  EXPECT_EQ(FirstWord("nothing.to;cut"), "nothing.to;cut");
}

}  // namespace
}  // namespace vornette
