#include "config/private_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/env.h"

namespace vornette {
namespace {

constexpr std::string_view kDefault = "<default>";

TEST(LookUpProfileStringTest, AnswersAsTheWindowsLookup) {
  struct Case {
    std::string_view file, section, key, answer;
  };
  const std::string_view nul("[a]\nk=12\0 34\n", 14);
  const std::string_view utf16(
      "\xFF\xFE[\0a\0]\0\n\0k\0=\0"
      "9\0\x2D\x4E",  // U+4E2D, in no single-byte code page
      18);
  // clang-format off
  const Case cases[] = {
      {"[Indent]\n  IndentWidth = \"4\" \n", "Indent", "IndentWidth", "4"},
      {"[indent]\nindentwidth=3\n", "Indent", "IndentWidth", "3"},
      {"[Indent] ; widths\nIndentWidth=5\n", "Indent", "IndentWidth", "5"},  // junk after ]
      {"[s]\nk\nk=0\n", "s", "k", kDefault},  // the first line naming the key decides
      {"[s]\nk=UpperCase ; loud\n", "s", "k", "UpperCase ; loud"},  // no inline comments
      {"[s]\nk='lowercase'\n", "s", "k", "lowercase"},
      {"[a]\nk=4\n[a]\nk=8\n", "a", "k", "4"}, {"[a]\nx=1\n[a]\nk=8\n", "a", "k", kDefault},
      {"\xEF\xBB\xBF[a]\nk=6\n", "a", "k", "6"}, {"k=7\n[a]\n", "a", "k", kDefault},
      {"k=7\n[a]\n", "", "k", "7"}, {"[a]\nk=1\nk=2\n", "a", "k", "1"},
      {"[a]\nk=  \n", "a", "k", ""}, {"[a]\nk = a = b\n", "a", "k", "a = b"},
      {"[a]\nk=\"\"4\"\"\n", "a", "k", "\"4\""}, {"[a]\nk=\"4\n", "a", "k", "\"4"},
      {"[a]\nk='4\"\n", "a", "k", "'4\""}, {"[a]\nk=\"\n", "a", "k", "\""}, {"[a]\nk=\"\"", "a", "k", ""},
      {nul, "a", "k", "12"}, {"[a]\n;k=4\n", "a", "k", kDefault}, {"[a]b]\nk=1\n", "a]b", "k", "1"},
      {"[a]\n[k=2\n", "a", "[k", "2"}, {"\t[ a \x0B]\x1A\n\x0C k \t=\t v \x1A\n", "a", "k", "v"},
      {"[a]\nk=\xA0v\n", "a", "k", "\xA0v"}, {"[a]\nk=1\n", " a ", "\tk ", "1"},
      {"[a]\nmy  key=1\n", "a", "my key", kDefault}, {"[a]\rk=1\rj=2", "a", "j", "2"},
      {"[a]\r\nk=1\r\nj=2", "a", "j", "2"}, {"[a]\n\rk=1\n\r", "a", "k", "1"},
      {"[b]\nk=1\n", "a", "k", kDefault}, {"[a]\nj=1\n", "a", "k", kDefault},
      {"", "a", "k", kDefault}, {"[a]\nk=\xE9t\xE9\n", "a", "k", "\xE9t\xE9"},
      {"[\xE4]\nk=1\n", "\xC4", "k", kDefault}, {utf16, "a", "k", "9?"},
      {utf16.substr(0, 17), "a", "k", "9?"}};  // half a character at the end
  // clang-format on
  // Where the system has a lookup of its own (Windows), it answers alike.
  const std::string path =
      (std::filesystem::temp_directory_path() / "vornette-lookup.ini").string();
  std::string native;
  for (const Case& c : cases) {
    EXPECT_EQ(LookUpProfileString(c.file, c.section, c.key, kDefault), c.answer) << c.file;
    std::ofstream(path, std::ios::binary) << c.file;
    if (SystemEnv().NativeProfileString(path, c.section, c.key, kDefault, &native)) {
      EXPECT_EQ(native, c.answer) << "native: " << c.file;
    }
  }
  // Values are cut to 2047 bytes, quoted or not.
  const std::string value(3000, 'x');
  EXPECT_EQ(LookUpProfileString("[a]\nk=\"" + value + "\"", "a", "k", "").size(), 2047u);
}

}  // namespace
}  // namespace vornette
