#include "formatter/block_check.h"

#include <gtest/gtest.h>

#include <string>

#include "basic/basic.h"
#include "vornette/vornette.h"

namespace vornette {
namespace {

using namespace std::literals;

// Each warning as "LINE:COLUMN+LENGTH kKIND TEXT", the closer of a block cut
// short after "@", one a line.
std::string Warnings(std::string_view text, const FormatterSettings& settings) {
  std::vector<BlockWarning> warnings;
  std::string error, out;
  if (!CheckBlocks(text, settings, &warnings, &error)) return error;
  // The offset must name the same first byte as the line and column.
  const auto span = [&](const TextSpan& at) {
    const size_t line_start = at.offset - (at.column - 1);
    EXPECT_TRUE(line_start == 0 || text[line_start - 1] == '\n' || text[line_start - 1] == '\r');
    return std::to_string(at.line) + ":" + std::to_string(at.column) + "+" +
           std::to_string(at.length);
  };
  for (const BlockWarning& w : warnings) {
    EXPECT_EQ(ToUpperAscii(text[w.at.offset]), ToUpperAscii(w.text[0]));
    out += span(w.at) + " k" + std::to_string(static_cast<int>(w.kind)) + " " + w.text +
           (w.closer ? " @" + span(*w.closer) : "") + "\n";
  }
  return out;
}

TEST(CheckBlocksTest, Rules) {
  const FormatterSettings shipped{}, extended{.ExtendedBlocks = true},
      unspaced{.SpacingOperators = false},
      flat{.SpacingOperators = false, .IndentRoutineBodies = false, .IndentFolds = false};
  // clang-format off
  const std::tuple<FormatterSettings, std::string_view, std::string_view> rows[] = {
      // Both nests crossing, lower case, the middle words where they belong.
      {shipped, "def a()\n;FOLD x\nif b then\nelse\nendif\nSWITCH n\nCase 1\nDEFAULT\nENDSWITCH\nEND\n;ENDFOLD",
       ""},
      // A closer cutting inner blocks short; one that closes nothing; the
      // blocks left open; a DEFFCT closed by END. Lines end in all three ways.
      {shipped, "DEF a()\r\n  IF x THEN\rFOR i=1 TO 2\nEND\nENDFOR\nDEFFCT INT f()\nLOOP\nEND",
       "2:3+2 k2 IF is not closed before END on line 4 @4:1+3\n"
       "3:1+3 k2 FOR is not closed before END on line 4 @4:1+3\n5:1+6 k1 ENDFOR closes no open block\n"
       "6:1+6 k3 DEFFCT is never closed\n7:1+4 k3 LOOP is never closed\n8:1+3 k1 END closes no open block\n"},
      // Middle words outside their block: in a block inside it, or none.
      {extended, "ELSE\nSWITCH n\nIF a THEN\nCASE 1\nENDIF\nDEFAULT\nENDSWITCH\nTIME_BLOCK PART = 2\n"
                 "TIME_BLOCK START\nTIME_BLOCK PART\nTIME_BLOCK END",
       "1:1+4 k4 ELSE outside IF\n4:1+4 k4 CASE outside SWITCH\n8:1+15 k4 TIME_BLOCK PART outside TIME_BLOCK\n"},
      // Every two-word form, the blanks and TABs between its words in its
      // range, one blank in its text; GLOBAL forms; words that only start
      // like block words; END/2, a block word only to the indentation.
      {extended, "GLOBAL\tDEFFCT INT f()\nCONST_VEL  START\nSPLINE\nPTP_SPLINE\nENDSPLINE\nENDSPLINE\n"
                 "CONST_VEL END\nSKIP\nENDSKIP\nENDFCT\nGLOBAL DEFDAT d\nENDDAT\nIFX=1\nENDIFX\nEND/2\nGLOBAL x\n"
                 "time_block  end",
       "17:1+15 k1 time_block end closes no open block\n"},
      // The classic rules: GLOBAL, the spline words and a DEF behind the
      // byte-order mark are no block words to them; one such warning a file.
      {shipped, "\xEF\xBB\xBF" "DEF a()\nGLOBAL DEF b()\nEND", "1:4+3 k5 DEF after the byte-order mark is "
       "indented as a block only with ExtendedBlocks=1\n1:4+3 k3 DEF is never closed\n"},
      {shipped, "GLOBAL DEF b()\nSPLINE\nENDSPLINE\nEND",
       "1:1+10 k5 GLOBAL DEF is indented as a block only with ExtendedBlocks=1\n"},
      {extended, "\xEF\xBB\xBF" "DEF a()\nEND", ""},
      {shipped, "\xEF\xBB\xBF" "SPLINE\nENDSPLINE",
       "1:4+6 k5 SPLINE is indented as a block only with ExtendedBlocks=1\n"},
      // A ";" glued to a word, with and without spacing; a kind-5 warning
      // first at its place; a fold end in a comment even with spacing.
      {unspaced, "ENDIF;x\nEND;", "1:1+5 k5 ENDIF;x is not read as ENDIF: put a blank before \";\"\n"
       "1:1+5 k1 ENDIF closes no open block\n2:1+3 k1 END closes no open block\n"},
      {shipped, "DEF a()\nEND;\n;FOLD\n;ENDFOLD;(User Functions)",
       "4:1+8 k5 ;ENDFOLD; is not read as ;ENDFOLD: put a blank before \";\"\n"},
      {shipped, "TIME_BLOCK START;x\nELSE;", "1:1+16 k5 TIME_BLOCK START is indented as a block only with "
       "ExtendedBlocks=1\n1:1+16 k3 TIME_BLOCK START is never closed\n2:1+4 k4 ELSE outside IF\n"},
      {{.SpacingOperators = false, .ExtendedBlocks = true}, "TIME_BLOCK START;x\nTIME_BLOCK END",
       "1:1+16 k5 TIME_BLOCK START is not indented as a block\n"},
      // Words the settings leave flat on purpose count for no kind-5 warning.
      {flat, "DEF;\nEND;\nDEFFCT;\nENDFCT;\nDEFDAT;\nENDDAT;\nGLOBAL DEF\nEND\n;FOLD;x\n;ENDFOLD\nIF;",
       "11:1+2 k5 IF; is not read as IF: put a blank before \";\"\n11:1+2 k3 IF is never closed\n"},
      {shipped, "DEF a()\0\nEND"sv, "the text holds a NUL byte and is no single-byte text"},
  };
  // clang-format on
  for (const auto& [settings, text, expected] : rows) {
    EXPECT_EQ(Warnings(text, settings), expected) << text;
  }
}

}  // namespace
}  // namespace vornette
