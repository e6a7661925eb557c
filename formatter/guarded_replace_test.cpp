#include "formatter/guarded_replace.h"

#include <gtest/gtest.h>

#include "tests/literal_engine.h"

namespace vornette {
namespace {

constexpr uint8_t kNone = 0;
constexpr uint8_t kAll = ReplaceAll;
constexpr uint8_t kAllCase = ReplaceAll | IgnoreCase;

struct Case {
  std::string_view line, old_pattern, new_pattern;
  uint8_t flags;
  bool whole_word;
  std::string_view result;
};

const Case kCases[] = {
    {"a=b ; c=d", "=", " = ", kAll, false, "a = b ; c=d"},
    {"x='a=b'=c", "=", "#", kAll, false, "x#'a=b'#c"},
    {"y='a;b',z=1", "=", " = ", kAll, false, "y = 'a;b',z=1"},
    {"a=b=c", "=", "#", kNone, false, "a#b=c"},
    {"'=' =", "=", "#", kNone, false, "'=' ="},
    {"aaa", "aa", "b", kAll, false, "ba"},
    {"if x then endif", "if", "IF", kAllCase, true, "IF x then endif"},
    {"While x", "WHILE", "while", kAllCase, true, "while x"},
    {"DECL INT ab", "a", "A", kAllCase, true, "DECL INT ab"},
    {"DECL INT a", "a", "A", kAllCase, true, "DECL INT A"},
    {";fold ;fold", ";fold", ";FOLD", kAllCase, true, ";FOLD ;fold"},
    // An apostrophe inside a double-quoted literal: the rest of the line counts as literal.
    {"m=\"it's\" x=1 y=2", "=", "#", kAll, false, "m#\"it's\" x=1 y=2"},
    {"", "=", "#", kAll, false, ""},
    {"a=b", "", "#", kAll, false, "a=b"},
    {"abab", "ab", "X", kAll, false, "XX"},
    {"ABab", "ab", "x", kAll, false, "ABx"},
    {"ABab", "ab", "x", kAllCase, false, "xx"},
    {"a;b;c", ";", " ;", kAll, false, "a ;b;c"},
    {"'a';b", ";", " ;", kAll, false, "'a' ;b"},
    {"\";\"x", ";", "#", kAll, false, "\";\"x"},
    {"x = 1", "x", "X", kAllCase, true, "X = 1"},
    {"a.x", "x", "X", kAllCase, true, "a.x"},
    {"(x)", "x", "X", kAllCase, true, "(X)"},
    {"x_", "x", "X", kAllCase, true, "x_"},
    {"=;=", "=", "#", kAll, false, "#;="},
    {"a''=b", "=", "#", kAll, false, "a''#b"},
    {"\"'\"=", "=", "#", kAll, false, "\"'\"="},
};

TEST(GuardedReplaceTest, EdgeCases) {
  for (const Case& c : kCases) {
    EXPECT_EQ(GuardedReplace(c.line, c.old_pattern, c.new_pattern, c.flags, c.whole_word), c.result)
        << c.line << " / " << c.old_pattern;
    EXPECT_EQ(literal::GuardedReplace(c.line, c.old_pattern, c.new_pattern, c.flags, c.whole_word),
              c.result)
        << "literal: " << c.line << " / " << c.old_pattern;
  }
}

TEST(GuardsTest, PositionsCountFromOne) {
  const std::string_view line = "a='b;c';d";
  EXPECT_FALSE(IsInComment(5, line));  // the ";" itself
  EXPECT_TRUE(IsInComment(6, line));
  EXPECT_FALSE(IsInComment(4, line));
  EXPECT_FALSE(IsInComment(3, "abc"));

  EXPECT_TRUE(HasOddCount(3, line, "'"));  // the quote at the position counts
  EXPECT_FALSE(HasOddCount(2, line, "'"));
  EXPECT_FALSE(HasOddCount(7, line, "'"));
  EXPECT_FALSE(HasOddCount(0, line, "'"));
  EXPECT_FALSE(HasOddCount(10, line, "'"));
  EXPECT_TRUE(IsInStringLiteral(4, line));
  EXPECT_FALSE(IsInStringLiteral(8, line));
  EXPECT_TRUE(IsInStringLiteral(3, "x\"'"));

  EXPECT_TRUE(IsWholeWord(1, 3, "END"));
  EXPECT_TRUE(IsWholeWord(2, 3, "(END)"));
  EXPECT_FALSE(IsWholeWord(2, 3, "xEND"));
  EXPECT_FALSE(IsWholeWord(1, 3, "ENDx"));
  EXPECT_FALSE(IsWholeWord(1, 3, "END;"));
}

TEST(ProtectionScannerTest, AgreesWithTheGuards) {
  for (std::string_view line :
       {"a='b;c';d", "x\"'y\"z'w", ";;;", "no quotes", "'", "\"a\"'b'\"c;\"d'", "a;'b'"}) {
    ProtectionScanner scanner(line);
    for (size_t i = 0; i < line.size(); ++i) {
      const int64_t position = static_cast<int64_t>(i) + 1;
      EXPECT_EQ(scanner.IsProtected(i),
                IsInComment(position, line) || IsInStringLiteral(position, line))
          << line << " at " << position;
    }
  }
}

}  // namespace
}  // namespace vornette
