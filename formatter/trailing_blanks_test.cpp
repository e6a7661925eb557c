#include "formatter/trailing_blanks.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

TEST(TrimTrailingBlanksTest, RunsOutsideAndInsideLiterals) {
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"x = ", "x ="}, {"x\t \t", "x"}, {"   ", ""}, {"", ""}, {"x", "x"}, {" x", " x"},
      // A literal left open at the end of the code keeps its blanks.
      {"msg = \"ab  ", "msg = \"ab  "}, {"msg = 'ab \t", "msg = 'ab \t"},
      {"s = \"it's \"  ", "s = \"it's \"  "},
      // Closed literals, and runs in the comment, lose them.
      {"msg = \"ab\"  ", "msg = \"ab\""}, {"a = \"\" 'b'\t", "a = \"\" 'b'"},
      {"x ; c  ", "x ; c"}, {"x = \"a;b  ", "x = \"a;b"}, {"; \"open  ", "; \"open"}};
  // clang-format on
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(TrimTrailingBlanks(text), trimmed) << text;
}

}  // namespace
}  // namespace vornette
