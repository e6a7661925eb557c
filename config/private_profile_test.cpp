#include "config/private_profile.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

constexpr std::string_view kDefault = "<default>";

struct Case {
  std::string_view name;
  std::string_view file;
  std::string_view section;
  std::string_view key;
  std::string_view answer;
};

TEST(LookUpProfileStringTest, AnswersAsTheWindowsLookup) {
  const Case cases[] = {
      {"quoted and blanks", "[Indent]\n  IndentWidth = \"4\" \n", "Indent", "IndentWidth", "4"},
      {"names ignore case", "[indent]\nindentwidth=3\n", "Indent", "IndentWidth", "3"},
      {"junk after header", "[Indent] ; widths\nIndentWidth=5\n", "Indent", "IndentWidth", "5"},
      {"first line without = decides", "[Spacing]\nSpacingOperators\nSpacingOperators=0\n",
       "Spacing", "SpacingOperators", kDefault},
      {"no inline comments", "[Capitalization]\nCAP_ProgramFlowStrings=UpperCase ; loud\n",
       "Capitalization", "CAP_ProgramFlowStrings", "UpperCase ; loud"},
      {"apostrophes removed", "[Capitalization]\nCAP_IOCommandStrings='lowercase'\n",
       "Capitalization", "CAP_IOCommandStrings", "lowercase"},
      {"first section only", "[Indent]\nIndentWidth=4\n[Indent]\nIndentWidth=8\n", "Indent",
       "IndentWidth", "4"},
      {"key only in a later same section", "[Indent]\nx=1\n[Indent]\nIndentWidth=8\n", "Indent",
       "IndentWidth", kDefault},
      {"utf-8 bom", "\xEF\xBB\xBF[Indent]\nIndentWidth=6\n", "Indent", "IndentWidth", "6"},
      {"before any header", "IndentWidth=7\n", "Indent", "IndentWidth", kDefault},
      {"unnamed section", "IndentWidth=7\n[Indent]\n", "", "IndentWidth", "7"},
      {"first key line decides", "[Indent]\nIndentWidth=1\nIndentWidth=2\n", "Indent",
       "IndentWidth", "1"},
      {"empty value is not the default", "[Indent]\nIndentWidth=  \n", "Indent", "IndentWidth", ""},
      {"split at the first =", "[a]\nk = a = b\n", "a", "k", "a = b"},
      {"double quotes only once", "[a]\nk=\"\"4\"\"\n", "a", "k", "\"4\""},
      {"lone quote stays", "[a]\nk=\"4\n", "a", "k", "\"4"},
      {"mixed quotes stay", "[a]\nk='4\"\n", "a", "k", "'4\""},
      {"single quote char stays", "[a]\nk=\"\n", "a", "k", "\""},
      {"nul ends the value", std::string_view("[a]\nk=12\0 34\n", 14), "a", "k", "12"},
      {"commented key", "[Indent]\n;IndentWidth=4\n", "Indent", "IndentWidth", kDefault},
      {"header name to the last ]", "[a]b]\nk=1\n", "a]b", "k", "1"},
      {"[ without ] is a key line", "[a]\n[k=2\n", "a", "[k", "2"},
      {"trimmed bytes", "\t[ a \x0B]\x1A\n\x0C k \t=\t v \x1A\n", "a", "k", "v"},
      {"nbsp is not trimmed", "[a]\nk=\xA0v\n", "a", "k", "\xA0v"},
      {"asked names are trimmed", "[a]\nk=1\n", " a ", "\tk ", "1"},
      {"inner blanks must match", "[a]\nmy  key=1\n", "a", "my key", kDefault},
      {"cr line ends", "[a]\rk=1\rj=2", "a", "j", "2"},
      {"crlf and missing last end", "[a]\r\nk=1\r\nj=2", "a", "j", "2"},
      {"lf cr is two ends", "[a]\n\rk=1\n\r", "a", "k", "1"},
      {"missing section", "[b]\nk=1\n", "a", "k", kDefault},
      {"missing key", "[a]\nj=1\n", "a", "k", kDefault},
      {"empty file", "", "a", "k", kDefault},
      {"non-ascii passes", "[a]\nk=\xE9t\xE9\n", "a", "k", "\xE9t\xE9"},
      {"section case beyond ascii", "[\xE4]\nk=1\n", "\xC4", "k", kDefault},
      {"utf-16le",
       std::string_view("\xFF\xFE[\0a\0]\0\n\0k\0=\0"
                        "9\0\xE9\0",
                        18),
       "a", "k", "9?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LookUpProfileString(c.file, c.section, c.key, kDefault), c.answer) << c.name;
  }
}

TEST(LookUpProfileStringTest, CutsLongValues) {
  const std::string value(3000, 'x');
  const std::string file = "[a]\nk=" + value + "\n";
  EXPECT_EQ(LookUpProfileString(file, "a", "k", ""), value.substr(0, kMaxProfileValueLength));
  const std::string quoted = "[a]\nk=\"" + value + "\"\n";
  EXPECT_EQ(LookUpProfileString(quoted, "a", "k", "").size(), kMaxProfileValueLength);
}

}  // namespace
}  // namespace vornette
