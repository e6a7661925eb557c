#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "vornette/vornette.h"

namespace vornette {
namespace {

TEST(FormatTextLinesTest, ChosenLinesOnly) {
  const std::string_view krl = "def a()\nif x then\ny=1\nendif\nz=2\nend\n";
  const std::string_view mixed = "def a()\r\nx=1\ry=2\nz=3";
  using Ranges = std::vector<LineRange>;
  // clang-format off
  const std::tuple<std::string_view, Ranges, std::string_view> cases[] = {
      // A range inside a block takes the block's indentation; one that
      // starts at a closing word takes that word's.
      {krl, {{3, 3}}, "def a()\nif x then\n    y = 1\nendif\nz=2\nend\n"},
      {krl, {{4, 5}}, "def a()\nif x then\ny=1\n  endif\n  z = 2\nend\n"},
      // Ranges that touch, overlap, come in any order, or run past the end.
      {krl, {{5, 9}, {3, 3}, {4, 4}, {2, 3}}, "def a()\n  if x then\n    y = 1\n  endif\n  z = 2\nend\n"},
      {krl, {{7, 9}}, krl}, {krl, {}, krl},
      // Every line end stays, a missing last one too.
      {mixed, {{1, 4}}, "def a()\r\n  x = 1\r  y = 2\n  z = 3"},
      // A line that would empty behind a lone CR keeps its text; an emptied
      // last line without a line end goes.
      {"a\r  \nb\r\n  \n", {{1, 4}}, "a\r  \nb\r\n\n"}, {"x\n  ", {{1, 2}}, "x\n"}};
  // clang-format on
  FormatterSettings settings;
  settings.LineEnding = LineEndingMode::Auto;  // which must not apply
  for (const auto& [bytes, ranges, output] : cases) {
    std::string formatted, error;
    ASSERT_TRUE(FormatTextLines(bytes, settings, ranges, &formatted, &error));
    EXPECT_EQ(formatted, output) << bytes;
  }
}

}  // namespace
}  // namespace vornette
