#include "formatter/spacing.h"

#include <gtest/gtest.h>

#include <string>

namespace vornette {
namespace {

TEST(SpaceOperatorsTest, EdgeCases) {
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a>=b", "a >= b"}, {"a<=b", "a <= b"}, {"a<>b", "a <> b"}, {"x==1", "x == 1"},
      {"IF $IN[1]==TRUE THEN", "IF $IN[1] == TRUE THEN"}, {"FOR i=1 TO 10", "FOR i = 1 TO 10"},
      {"x=2*(a+b)/c", "x = 2 * (a+b) / c"}, {"a:=1", "a: = 1"}, {"a=<b", "a = < b"},
      {"a=>b", "a = > b"}, {"a**b", "a * * b"}, {"a/=b", "a / = b"}, {"a>==b", "a >= = b"},
      {"a<>=b", "a < >= b"}, {"a<=>b", "a <= > b"}, {"a >= b", "a >= b"}, {"a  =  b", "a = b"},
      {"a,b,c", "a, b, c"}, {"LIN {X 10,Y 20} C_DIS", "LIN {X 10, Y 20} C_DIS"}, {"a , b", "a , b"},
      {"a  ,  b", "a , b"}, {"x=1;c=2", "x = 1 ;c=2"}, {"x=1 ; a>=b", "x = 1 ; a>=b"},
      {"x = 1 ;  two  blanks", "x = 1 ;  two  blanks"}, {";FOLD PTP P1", " ;FOLD PTP P1"},
      {"   x=1", " x = 1"}, {"x=", "x = "}, {"a,", "a, "}, {"WAIT  SEC 1", "WAIT SEC 1"},
      {"MSG='a>=b'", "MSG = 'a>=b'"}, {"y='a;b',z=1", "y = 'a;b',z=1"},
      {"IF (a)or(b) THEN", "IF (a) OR (b) THEN"}, {"(a)AND(b)AND(c)", "(a) AND (b) AND (c)"},
      {"(a) and(b)", "(a) AND (b)"}, {"(a)And (b)", "(a) AND (b)"}, {"(a) or (b)", "(a) or (b)"},
      {"(a)  OR(b)", "(a) OR(b)"}, {"(a)OR(b);(c)OR(d)", "(a) OR (b) ;(c)OR(d)"}, {"   ", " "},
      {"  ;  x", " ;  x"}, {"", ""}, {"a\t;", "a\t ;"}, {"a\t=\tb", "a\t = \tb"},
      {"x=\xF2y\xF3z\xF7", "x = >= y <= z <> "}, {"'\xF2'\xF0", "'\xF2' == "}, {";\xF7", " ;\xF7"},
      {"m=\"it's\" x=1", "m = \"it's\" x=1"}, {"a===b", "a == = b"}, {"a<<>b", "a < <> b"},
      {"a<><>=b", "a <> < >= b"}, {"(a)OR((b)AND(c))", "(a) OR ((b) AND (c))"}, {"(a)OR", "(a)OR"},
      {"(a)OR ", "(a)OR "}, {"(a)ORDER(b)", "(a)ORDER(b)"}, {"'(a)OR(b)'", "'(a)OR(b)'"}};
  // clang-format on
  for (const auto& [input, result] : cases) {
    std::string out(SpacedLengthBound(input.size()), '\0');
    out.resize(SpaceOperators(input, out.data()));
    EXPECT_EQ(out, result) << input;
  }
}

}  // namespace
}  // namespace vornette
