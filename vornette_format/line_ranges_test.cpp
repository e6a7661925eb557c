#include "vornette_format/line_ranges.h"

#include <gtest/gtest.h>

#include <limits>

namespace vornette {
namespace {

// Lines as git counts them, where a lone CR ends none, become ours.
TEST(LinesOfLfRangesTest, LoneCrsJoinLinesOfGits) {
  constexpr size_t kEnd = std::numeric_limits<size_t>::max();
  const std::pair<LineRange, std::vector<std::pair<size_t, size_t>>> cases[] = {
      {{1, 1}, {{1, 2}}},
      {{2, 2}, {{3, 3}}},
      {{3, 3}, {{4, kEnd}}},
      {{2, 9}, {{3, kEnd}}},
      {{5, 6}, {}}};
  for (const auto& [lf_range, expected] : cases) {
    std::vector<std::pair<size_t, size_t>> ranges;
    for (const LineRange& range : LinesOfLfRanges("a\rb\nc\r\nd", {lf_range})) {
      ranges.emplace_back(range.first, range.last);
    }
    EXPECT_EQ(ranges, expected) << lf_range.first << ":" << lf_range.last;
  }
}

}  // namespace
}  // namespace vornette
