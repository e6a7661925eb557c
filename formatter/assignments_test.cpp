#include "formatter/assignments.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

TEST(FindAssignmentTest, TargetsAndNonAssignments) {
  // The code, and the target's length and the position of "=", or -1 for a
  // line that is no assignment.
  // clang-format off
  const std::tuple<std::string_view, int, int> cases[] = {
      {"$OUT[1]=TRUE", 7, 7}, {"p.x = 3", 3, 4}, {"arr[i, j] = 4", 9, 10}, {"$VEL.CP=0.2", 7, 7},
      {"x\t \t= 1", 1, 4}, {"x=", 1, 1}, {"_a1$=1", 4, 4}, {"a[]=1", 3, 3}, {"a[1][2].b.c[x] =0", 14, 15},
      {"x = = 1", 1, 2},
      {"FOR i = 1 TO 3", -1, -1}, {"DECL INT n = 0", -1, -1}, {"x == 1", -1, -1},
      {"a[b[1]] = 2", -1, -1}, {"; x = 1", -1, -1}, {"", -1, -1}, {"x", -1, -1}, {"1x = 1", -1, -1},
      {"a.1 = 2", -1, -1}, {"a. b = 2", -1, -1}, {"a[1 = 2", -1, -1}, {"a[;] = 1", -1, -1},
      {"a[\"] = 1", -1, -1}, {"a['] = 1", -1, -1}, {"a[=] = 1", -1, -1}, {"a]=1", -1, -1}, {"a b] = 1", -1, -1},
      {"\xE4x = 1", -1, -1}, {"x\xE4 = 1", -1, -1}, {"x :=1", -1, -1}, {"a.=1", -1, -1}};
  // clang-format on
  for (const auto& [code, target, equals] : cases) {
    const std::optional<Assignment> found = FindAssignment(code);
    EXPECT_EQ(found ? static_cast<int>(found->target_length) : -1, target) << code;
    EXPECT_EQ(found ? static_cast<int>(found->equals) : -1, equals) << code;
  }
}

}  // namespace
}  // namespace vornette
