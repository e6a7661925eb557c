#include "formatter/indent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <tuple>

namespace vornette {
namespace {

// The lines of `input` (cut at LF) through IndentLine with one state from
// the first line of a file, each written as its blanks and its text.
std::string Indent(std::string_view input, const FormatterSettings& settings, IndentState* state) {
  std::string output;
  for (size_t at = 0; at <= input.size();) {
    const size_t end = std::min(input.find('\n', at), input.size());
    const IndentedLine line = IndentLine(input.substr(at, end - at), *state, settings);
    output.append(line.blanks, ' ').append(line.text).append("\n");
    at = end + 1;
  }
  return output;
}

TEST(IndentLineTest, BlocksAndTheirCounters) {
  const FormatterSettings plain{}, wide{true, 3}, zero{true, 0}, negative{true, -2},
      extended{.ExtendedBlocks = true}, flat{.ExtendedBlocks = true, .IndentRoutineBodies = false},
      no_folds{.IndentFolds = false};
  // clang-format off
  const std::tuple<FormatterSettings, std::string_view, std::string_view, IndentState> rows[] = {
      {wide, "DEF Pick()\n\tINT n\n;FOLD INIT\nBAS(#INITMOV,0)\n;ENDFOLD\n\nIF n>0 THEN\nn=n-1\nELSE\nn=0\n"
             "ENDIF\nSWITCH n\nCASE 1\nPTP HOME\nCASE 2,3\nLIN P1\nDEFAULT\nHALT\nENDSWITCH\nEND",
       "DEF Pick()\n   INT n\n   ;FOLD INIT\n      BAS(#INITMOV,0)\n   ;ENDFOLD\n   \n   IF n>0 THEN\n"
       "      n=n-1\n   ELSE\n      n=0\n   ENDIF\n   SWITCH n\n      CASE 1\n         PTP HOME\n"
       "      CASE 2,3\n         LIN P1\n      DEFAULT\n         HALT\n   ENDSWITCH\nEND\n", {0, 0}},
      // GLOBAL DEF opens nothing, its END closes; case words without a
      // SWITCH; lines between SWITCH and its first CASE; the counters below 0.
      {plain, "GLOBAL DEF P()\nEND\nENDSWITCH\nCASE 1\nx\nSWITCH a\n;c\nCASE 2\nendswitch\nendswitch",
       "GLOBAL DEF P()\nEND\nENDSWITCH\nCASE 1\n  x\n  SWITCH a\n    ;c\n  CASE 2\n  endswitch\nendswitch\n",
       {-3, 0}},
      // Words glued to "(" or ";", a comment, control bytes, letters beyond ASCII.
      {plain, "DEF\nDEF\nIF(n>0) THEN\nWHILE(TRUE)\nENDIF;done\nENDWHILE\t; tab\n; FOLD x\n{X 10}\n"
              "INTERRUPT DECL 1\nLoOp\n\x0C\x01Until x\n\xE4nd x",
       "DEF\n  DEF\n    IF(n>0) THEN\n      WHILE(TRUE)\n        ENDIF;done\n      ENDWHILE\t; tab\n"
       "      ; FOLD x\n      {X 10}\n      INTERRUPT DECL 1\n      LoOp\n      Until x\n      \xE4nd x\n",
       {3, 0}},
      {zero, "DEF a()\n  x", "DEF a()\nx\n", {1, 0}},
      {negative, "DEF a()\nx\nEND\nEND\ny   ", "DEF a()\nx\nEND\n  END\n  y   \n", {-1, 0}},
      {extended, "GLOBAL DEF Weld()\nSPLINE WITH $VEL.CP = 0.2\nSLIN P1\nTIME_BLOCK START\nSLIN P2\n"
                 "TIME_BLOCK PART = 40\nSCIRC P3, P4\nTIME_BLOCK END = 2.5\nCONST_VEL START = 100\nSLIN P5\n"
                 "CONST_VEL END = 100\nENDSPLINE\nEND\nGLOBAL DEFFCT INT Count()\nRETURN 1\nENDFCT",
       "GLOBAL DEF Weld()\n  SPLINE WITH $VEL.CP = 0.2\n    SLIN P1\n    TIME_BLOCK START\n      SLIN P2\n"
       "    TIME_BLOCK PART = 40\n      SCIRC P3, P4\n    TIME_BLOCK END = 2.5\n    CONST_VEL START = 100\n"
       "      SLIN P5\n    CONST_VEL END = 100\n  ENDSPLINE\nEND\nGLOBAL DEFFCT INT Count()\n  RETURN 1\n"
       "ENDFCT\n", {0, 0}},
      {extended, "global\tdefdat d\nGlobal Decl int x\nptp_spline\nskip x\nendskip\nTIME_BLOCK(START\n"
                 "time_block start;x\nconst_vel part\ntime_block start\nGLOBAL",
       "global\tdefdat d\n  Global Decl int x\n  ptp_spline\n    skip x\n    endskip\n    TIME_BLOCK(START\n"
       "    time_block start;x\n    const_vel part\n    time_block start\n      GLOBAL\n", {3, 0}},
      {flat, "DEF a()\nIF x THEN\nENDIF\nGLOBAL DEF b()\nTIME_BLOCK START\nTIME_BLOCK END\nENDDAT",
       "DEF a()\nIF x THEN\nENDIF\nGLOBAL DEF b()\nTIME_BLOCK START\nTIME_BLOCK END\nENDDAT\n", {0, 0}},
      // Without the extended rules GLOBAL DEF and the spline words open nothing.
      {plain, "GLOBAL DEF a()\nSPLINE\nDEF b()\nx", "GLOBAL DEF a()\nSPLINE\nDEF b()\n  x\n", {1, 0}},
      {no_folds, "DEF a()\n;FOLD PTP HOME\nPTP HOME\n;endfold\nIF x THEN\nEND",
       "DEF a()\n  ;FOLD PTP HOME\n  PTP HOME\n  ;endfold\n  IF x THEN\n  END\n", {1, 0}}};
  // clang-format on
  for (const auto& [settings, input, output, counters] : rows) {
    IndentState state;
    EXPECT_EQ(Indent(input, settings, &state), output);
    EXPECT_EQ(std::pair(state.IndentLevel, state.CaseLevel),
              std::pair(counters.IndentLevel, counters.CaseLevel))
        << input;
  }
}

TEST(IndentLineTest, ProductBeyondThirtyTwoBitsCannotBeBuilt) {
  // IndentWidth, the level, and whether the product leaves the 32-bit range.
  // clang-format off
  const std::tuple<int32_t, int64_t, bool> cases[] = {
      {1073741824, 2, true}, {2147483647, 2, true}, {2, 1073741824, true}, {-2147483647 - 1, 2, true},
      {1, -2147483649LL, true}, {-1, -2147483648LL, true}, {-2147483647 - 1, 1, false},
      {2147483647, 0, false}, {2147483647, 1, false}, {-1, 2147483647, false}, {1, -2147483648LL, false},
      {0, 4000000000LL, false}};
  // clang-format on
  for (const auto& [width, level, fails] : cases) {
    IndentState state{level, 0};
    const FormatterSettings settings{true, width};
    if (fails) {
      EXPECT_THROW(IndentLine("x", state, settings), std::bad_alloc) << width << " " << level;
    } else {
      // Counted, never built here: the largest count still fits.
      EXPECT_EQ(IndentLine("x", state, settings).blanks,
                static_cast<size_t>(std::max<int64_t>(0, int64_t{width} * level)))
          << width << " " << level;
    }
  }
}

}  // namespace
}  // namespace vornette
