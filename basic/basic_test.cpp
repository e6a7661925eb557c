#include "basic/basic.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

TEST(SameTextNoCaseTest, ComparesAsciiLettersWithoutCase) {
  struct Case {
    std::string_view a, b;
    bool same;
  };
  const Case cases[] = {
      {"endif", "ENDIF", true}, {"EndIf", "eNDiF", true}, {"", "", true},
      {"end", "endif", false},  {"$IN", "$in", true},     {"a_1", "A_1", true},
      {"x", "y", false},        {"\xE4", "\xC4", false},  // no mapping beyond ASCII
      {"[", "{", false},        {"@", "`", false},        {"a b", "A  B", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameTextNoCase(c.a, c.b), c.same) << c.a << " / " << c.b;
  }
}

TEST(CaseMappingTest, TouchesOnlyAsciiLetters) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool lower = byte >= 'a' && byte <= 'z';
    const bool upper = byte >= 'A' && byte <= 'Z';
    EXPECT_EQ(ToUpperAscii(c), lower ? static_cast<char>(byte - 32) : c) << byte;
    EXPECT_EQ(ToLowerAscii(c), upper ? static_cast<char>(byte + 32) : c) << byte;
  }
  EXPECT_EQ(UpperCase("wait for $in[1] \xE9t\xE9"), "WAIT FOR $IN[1] \xE9T\xE9");
  EXPECT_EQ(LowerCase("PTP_REL #FAST"), "ptp_rel #fast");
}

TEST(IsInListTest, FindsEntriesInAnyCase) {
  const std::string_view table[] = {"def", "DEFDAT", "switch"};
  EXPECT_TRUE(IsInList("DEF", table));
  EXPECT_TRUE(IsInList("defdat", table));
  EXPECT_TRUE(IsInList("Switch", table));
  EXPECT_FALSE(IsInList("de", table));
  EXPECT_FALSE(IsInList("", table));
}

TEST(MakeIndentTest, GivesBlanksForPositiveCountsOnly) {
  EXPECT_EQ(MakeIndent(3), "   ");
  EXPECT_EQ(MakeIndent(0), "");
  EXPECT_EQ(MakeIndent(-5), "");
}

TEST(SubstituteTest, FillsPlaceholdersInOrderWithoutRescanning) {
  EXPECT_EQ(Substitute("File \"%s\" do not exist!", {"a.src"}), "File \"a.src\" do not exist!");
  EXPECT_EQ(Substitute("%s and %s", {"%s", "b"}), "%s and b");
  EXPECT_EQ(Substitute("no args %s", {}), "no args %s");
}

}  // namespace
}  // namespace vornette
