#include "formatter/capitalization.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vornette {
namespace {

using Modes = std::array<CapitalizationMode, kKeywordCategoryCount>;
constexpr CapitalizationMode U = CapitalizationMode::UpperCase;
constexpr CapitalizationMode L = CapitalizationMode::LowerCase;
constexpr CapitalizationMode N = CapitalizationMode::None;
constexpr Modes kUpper = {U, U, U, U, U, U, U, U};
constexpr Modes kLower = {L, L, L, L, L, L, L, L};

TEST(ApplyCapitalizationsTest, Examples) {
  using Case = std::tuple<std::string_view, Modes, std::string_view>;
  // clang-format off
  const Case cases[] = {
      {"wait for $in[1]", kUpper, "WAIT FOR $IN[1]"}, {"if a and b or not x then", kUpper, "IF A AND B OR NOT X THEN"},
      {"If x AND y Then", {U, N, N, L, N, N, N, N}, "IF x and y THEN"},
      {"$OUT[1]=TRUE", kLower, "$out[1]=true"},
      {"{x 10, y 20, z 30, a 0, b 0, c 0}", kUpper, "{X 10, Y 20, Z 30, A 0, B 0, C 0}"},
      {"x = $in_home", kUpper, "X = $in_home"}, {"p = $pos_act.x", kUpper, "p = $pos_act.x"},
      {";fold ptp home", kUpper, ";FOLD ptp home"}, {"speed = #fast", kUpper, "speed = #FAST"},
      {"#PATH path", {N, N, L, N, U, N, N, N}, "#path PATH"}, {"endif;done", kUpper, "endif;done"},
      {"lin_rel p1 tool = 1", kUpper, "LIN_REL p1 TOOL = 1"},
      {"endif ;done", kUpper, "ENDIF ;done"},
      {"msg = \"end of loop\" ; end", kUpper, "msg = \"end of loop\" ; end"},
      {"\x0C" "end", kUpper, "\x0C" "end"}, {"a;fold", kUpper, "a;fold"},
      {"for i = 1 to 10 step 2 decl int", {U, N, N, N, N, N, N, N},
       "FOR i = 1 TO 10 STEP 2 DECL int"},
      {"x ;endfold y", kUpper, "X ;ENDFOLD y"}, {"'wait' wait", kUpper, "'wait' WAIT"},
      {"\"it's\" wait", kUpper, "\"it's\" wait"}, {"E6POS p = {x 1}", kLower, "e6pos p = {x 1}"},
      {"$timer_stop[1]=false", kUpper, "$TIMER_STOP[1]=FALSE"},
      {"ERR_TO_PLC $conf_mess $msg_t", kLower, "err_to_plc $conf_mess $msg_t"},
      {"appros newbase\tlinspeed departs", kUpper, "APPROS NEWBASE\tLINSPEED DEPARTS"},
      {"\xE4nd end\xE4 ENDWHILE", kLower, "\xE4nd end\xE4 endwhile"}, {"WAIT X", kLower, "wait x"},
      {"", kUpper, ""}, {"DEFAULT: LIN_REL TOOL_NO x = 1", kLower, "default: lin_rel tool_no x = 1"}};
  // clang-format on
  for (const auto& [input, modes, result] : cases) {
    std::string line(input);
    ApplyCapitalizations(std::span<char>(line.data(), line.size()), modes);
    EXPECT_EQ(line, result) << input;
  }
}

}  // namespace
}  // namespace vornette
