#include "formatter/pipeline.h"

#include <gtest/gtest.h>

#include <tuple>

#include "reference/reference.h"

namespace vornette {
namespace {

// The text `input` formatted whole, written with the line ends of `settings`.
std::string FormatWhole(std::string_view input, const FormatterSettings& settings) {
  return reference::TextOf(FormatLines(reference::ListOf(input, settings.LineEnding), settings));
}

// Whole files: the byte-order mark under the extended rules, comments kept
// in column one, line ends, trailing blanks and aligned assignments.
TEST(FormatLinesTest, WholeFiles) {
  constexpr auto Auto = LineEndingMode::Auto;
  // Spacing off, IndentWidth 2, no recasing, the three indentation keys.
  const FormatterSettings extended{false, 2, {}, true}, column_one{false, 2, {}, false, true, true},
      all{true, 2, {}, true, false, true};
  const FormatterSettings spaced{.AlignAssignments = true},
      aligned{.SpacingOperators = false, .AlignAssignments = true},
      marked{.ExtendedBlocks = true, .AlignAssignments = true},
      trimmed{
          .LineEnding = LineEndingMode::LF, .TrimTrailingBlanks = true, .AlignAssignments = true};
  const FormatterSettings automatic{.SpacingOperators = false, .LineEnding = Auto},
      lf{.SpacingOperators = false, .LineEnding = LineEndingMode::LF},
      trim{.TrimTrailingBlanks = true}, trim_auto{.LineEnding = Auto, .TrimTrailingBlanks = true},
      plain{.SpacingOperators = false, .LineEnding = Auto, .TrimTrailingBlanks = true};
  // clang-format off
  const std::tuple<FormatterSettings, std::string_view, std::string_view> cases[] = {
      {automatic, "def a()\nx\nend\n", "def a()\n  x\nend\n"},
      {automatic, "def a()\r\nx\nend", "def a()\r\n  x\r\nend"},
      {automatic, "a\rb\n", "a\r\nb\r\n"}, {lf, "a\r\nb\rc", "a\nb\nc\n"},
      // A last line of blanks without a line end leaves nothing behind.
      {automatic, "end\n  \t", "end\n"}, {automatic, "  ", ""}, {automatic, "def a()\n  ", "def a()\n  "},
      {trim_auto, "def a()\r\n  ", "def a()\r\n"},
      // Blank lines inside a block and blanks spacing leaves at the end go.
      {trim, "def a()\n\t\nx=\nmsg=\"ab  \nend", "def a()\r\n\r\n  x =\r\n  msg = \"ab  \r\nend\r\n"},
      // Only a literal that the code leaves open keeps them; in the comment they go.
      {plain, "m='ab \t\ns=\"it's\"  \n", "m='ab \t\ns=\"it's\"  \n"},
      {plain, "m=\"ab\"  \na=\"\" 'b'\t\nx ; c  \nx=\"a;b  \n; \"c  \n",
       "m=\"ab\"\na=\"\" 'b'\nx ; c\nx=\"a;b\n; \"c\n"},
      {extended, "\xEF\xBB\xBF" "  DEF a()\n\xEF\xBB\xBFx\nEND",
       "\xEF\xBB\xBF" "DEF a()\r\n  \xEF\xBB\xBFx\r\nEND\r\n"},
      {extended, "x\n\xEF\xBB\xBF" "DEF a()\ny", "x\r\n\xEF\xBB\xBF" "DEF a()\r\ny\r\n"},
      {column_one, ";FOLD a\nx\n  ;c\nSWITCH n\nCASE 1\n;ENDFOLD\n;x", ";FOLD a\r\n  x\r\n  ;c\r\n"
       "  SWITCH n\r\n    CASE 1\r\n;ENDFOLD\r\n;x\r\n"},
      {all, "\xEF\xBB\xBF;FOLD\nGLOBAL DEF a()\nx=1\n;ENDFOLD", "\xEF\xBB\xBF;FOLD\r\n  GLOBAL DEF a()\r\n"
       "  x = 1\r\n;ENDFOLD\r\n"},
      {spaced, "$OUT[1]=TRUE\n$OUT[22]=FALSE", "$OUT[1]  = TRUE\r\n$OUT[22] = FALSE\r\n"},
      // Runs end at another indentation (IF opens a block), at any other
      // line, and a lone assignment line stays as it is.
      {spaced, "x=1\nif=2\ny=3\nzz=4", "x  = 1\r\nif = 2\r\n  y  = 3\r\n  zz = 4\r\n"},
      {spaced, "a=1\nbb=2\nFOR i=1 TO 2\nccc=3\n;c\nd=4\nee=5\n\nf=6\nx==1\ng=7",
       "a  = 1\r\nbb = 2\r\nFOR i = 1 TO 2\r\n  ccc = 3\r\n  ;c\r\n  d  = 4\r\n  ee = 5\r\n  \r\n"
       "  f = 6\r\n  x == 1\r\n  g = 7\r\n"},
      {aligned, "a\t=1\nbb=2\n  p.x  \t=3", "a   =1\r\nbb  =2\r\np.x =3\r\n"},
      // The byte-order mark that the extended rules set aside is no part of the target.
      {marked, "\xEF\xBB\xBF" "a=1\nbb=2", "\xEF\xBB\xBF" "a  = 1\r\nbb = 2\r\n"},
      {spaced, "\xEF\xBB\xBF" "a=1\nbb=2\nc=3", "\xEF\xBB\xBF" "a = 1\r\nbb = 2\r\nc  = 3\r\n"},
      {trimmed, "x=\nyy=1 ", "x  =\nyy = 1\n"}};
  // clang-format on
  for (const auto& [settings, input, output] : cases) {
    EXPECT_EQ(FormatWhole(input, settings), output) << input;
  }
}

}  // namespace
}  // namespace vornette
