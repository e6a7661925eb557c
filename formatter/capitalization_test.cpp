#include "formatter/capitalization.h"

#include <gtest/gtest.h>

#include "basic/basic.h"
#include "formatter/indent.h"
#include "formatter/word_tables.h"
#include "tests/literal_engine.h"

namespace vornette {
namespace {

using Modes = std::array<CapitalizationMode, kKeywordCategoryCount>;
constexpr CapitalizationMode U = CapitalizationMode::UpperCase;
constexpr CapitalizationMode L = CapitalizationMode::LowerCase;
constexpr CapitalizationMode N = CapitalizationMode::None;

Modes All(CapitalizationMode mode) {
  Modes modes;
  modes.fill(mode);
  return modes;
}

// The eight calls in category order, as the pipeline defines them.
std::string EightCalls(std::string_view line, const Modes& modes) {
  std::string current(line);
  for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
    current = ApplyCapitalization(current, WordTableOf(static_cast<KeywordCategory>(c)), modes[c]);
  }
  return current;
}

TEST(ApplyCapitalizationTest, Examples) {
  struct Case {
    std::string_view line;
    Modes modes;
    std::string_view result;
  };
  Modes mixed = All(N);
  mixed[0] = U;  // ProgramFlow
  mixed[3] = L;  // MathAndFunction
  Modes path = All(N);
  path[2] = L;  // MotionCommand
  path[4] = U;  // IOCommand
  Modes only_flow = All(N);
  only_flow[0] = U;
  const Case cases[] = {
      {"wait for $in[1]", All(U), "WAIT FOR $IN[1]"},
      {"if a and b or not x then", All(U), "IF A AND B OR NOT X THEN"},
      {"If x AND y Then", mixed, "IF x and y THEN"},
      {"$OUT[1]=TRUE", All(L), "$out[1]=true"},
      {"{x 10, y 20, z 30, a 0, b 0, c 0}", All(U), "{X 10, Y 20, Z 30, A 0, B 0, C 0}"},
      {"x = x + 1", All(U), "X = X + 1"},
      {"x = $in_home", All(U), "X = $in_home"},
      {"p = $pos_act.x", All(U), "p = $pos_act.x"},
      {";fold ptp home", All(U), ";FOLD ptp home"},
      {"speed = #fast", All(U), "speed = #FAST"},
      {"#PATH path", path, "#path PATH"},
      {"lin_rel p1", All(U), "LIN_REL p1"},
      {"tool = 1", All(U), "TOOL = 1"},
      {"endif;done", All(U), "endif;done"},
      {"endif ;done", All(U), "ENDIF ;done"},
      {"msg = \"end of loop\" ; end", All(U), "msg = \"end of loop\" ; end"},
      {"\x0C"
       "end",
       All(U),
       "\x0C"
       "end"},
      {"for i = 1 to 10 step 2", only_flow, "FOR i = 1 TO 10 STEP 2"},
      {"decl int x", only_flow, "DECL int x"},
      {"a;fold", All(U), "a;fold"},
      {"x ;endfold", All(U), "X ;ENDFOLD"},
      {";endfold x", All(U), ";ENDFOLD x"},
      {"'wait' wait", All(U), "'wait' WAIT"},
      {"\"it's\" wait", All(U), "\"it's\" wait"},
      {"E6POS p = {x 1}", All(L), "e6pos p = {x 1}"},
      {"$timer_stop[1]=false", All(U), "$TIMER_STOP[1]=FALSE"},
      {"ERR_TO_PLC $conf_mess $msg_t", All(L), "err_to_plc $conf_mess $msg_t"},
      {"appros newbase\tlinspeed", All(U), "APPROS NEWBASE\tLINSPEED"},
      {"", All(U), ""},
      {"\xE4nd end\xE4", All(U), "\xE4nd end\xE4"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EightCalls(c.line, c.modes), c.result) << c.line;
    std::string in_place(c.line);
    ApplyAllCapitalizations(in_place, c.modes);
    EXPECT_EQ(in_place, c.result) << "all at once: " << c.line;
    std::string literal(c.line);
    for (size_t k = 0; k < kKeywordCategoryCount; ++k) {
      literal = literal::ApplyCapitalization(literal, WordTableOf(static_cast<KeywordCategory>(k)),
                                             c.modes[k]);
    }
    EXPECT_EQ(literal, c.result) << "literal: " << c.line;
  }
}

TEST(ApplyCapitalizationTest, UnknownModeChangesNothing) {
  EXPECT_EQ(ApplyCapitalization("wait", IOCommandStrings, static_cast<CapitalizationMode>(7)),
            "wait");
}

TEST(WordTablesTest, NoWordInTwoTablesNorHoldingASeparator) {
  size_t total = 0;
  for (size_t a = 0; a < kKeywordCategoryCount; ++a) {
    for (std::string_view word : WordTableOf(static_cast<KeywordCategory>(a))) {
      ++total;
      for (char c : word) EXPECT_FALSE(IsSeparator(c)) << word;
      for (size_t b = a + 1; b < kKeywordCategoryCount; ++b) {
        EXPECT_FALSE(IsInList(word, WordTableOf(static_cast<KeywordCategory>(b)))) << word;
      }
    }
  }
  EXPECT_EQ(total, 137u);
  for (auto table : {std::span<const std::string_view>(BlockOpenWords),
                     std::span<const std::string_view>(BlockCloseWords),
                     std::span<const std::string_view>(CaseOpenWords),
                     std::span<const std::string_view>(CaseCloseWords)}) {
    for (std::string_view word : table) EXPECT_TRUE(IsInList(word, ProgramFlowStrings)) << word;
  }
}

}  // namespace
}  // namespace vornette
