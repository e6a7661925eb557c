#include "formatter/pipeline.h"

#include <gtest/gtest.h>

#include "reference/reference.h"

namespace vornette {
namespace {

// Whole files: the byte-order mark under the extended rules, and comments
// kept in column one.
TEST(FormatLinesTest, FirstLineAndColumnOne) {
  // Spacing off, IndentWidth 2, no recasing, the three indentation keys.
  const FormatterSettings extended{false, 2, {}, true}, column_one{false, 2, {}, false, true, true},
      all{true, 2, {}, true, false, true};
  // clang-format off
  const std::tuple<FormatterSettings, std::string_view, std::string_view> cases[] = {
      {extended, "\xEF\xBB\xBF" "  DEF a()\n\xEF\xBB\xBFx\nEND",
       "\xEF\xBB\xBF" "DEF a()\r\n  \xEF\xBB\xBFx\r\nEND\r\n"},
      {extended, "x\n\xEF\xBB\xBF" "DEF a()\ny", "x\r\n\xEF\xBB\xBF" "DEF a()\r\ny\r\n"},
      {column_one, ";FOLD a\nx\n  ;c\nSWITCH n\nCASE 1\n;ENDFOLD\n;x", ";FOLD a\r\n  x\r\n  ;c\r\n"
       "  SWITCH n\r\n    CASE 1\r\n;ENDFOLD\r\n;x\r\n"},
      {all, "\xEF\xBB\xBF;FOLD\nGLOBAL DEF a()\nx=1\n;ENDFOLD", "\xEF\xBB\xBF;FOLD\r\n  GLOBAL DEF a()\r\n"
       "  x = 1\r\n;ENDFOLD\r\n"}};
  // clang-format on
  for (const auto& [settings, input, output] : cases) {
    const LineList formatted = FormatLines(reference::ListOf(input), settings);
    std::string text;
    for (std::string_view piece : formatted.WritingFormat()) text.append(piece);
    EXPECT_EQ(text, output) << input;
  }
}

}  // namespace
}  // namespace vornette
