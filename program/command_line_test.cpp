#include "program/command_line.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLineTest, Examples) {
  struct Case {
    std::string_view line;
    Args arguments;
  };
  // clang-format off
  const Case cases[] = {
      {"a \"p q\" d", {"a", "p q", "d"}}, {"prog x\"y z\"w", {"prog", "xy zw"}},
      {"prog a\"\"b", {"prog", "ab"}}, {"prog \"\" b", {"prog", "b"}},
      {"prog \"\"\"\" b", {"prog", "b"}}, {"prog \"\"x", {"prog", "x"}}, {"prog a \"", {"prog", "a"}},
      {"prog a \" \"", {"prog", "a", " "}}, {"  \t prog\t\ta\x01" "b", {"prog", "a", "b"}},
      {"prog \"tab\there\"", {"prog", "tab\there"}}, {"prog \"open end", {"prog", "open end"}},
      {"prog \xE9t\xE9.src", {"prog", "\xE9t\xE9.src"}}, {"", {}}, {"   ", {}},
      {std::string_view("prog a\0b", 8), {"prog", "a"}},
      {"\"C:\\Program Files\\v.exe\" -h", {"C:\\Program Files\\v.exe", "-h"}}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << c.line;
}

}  // namespace
}  // namespace vornette
