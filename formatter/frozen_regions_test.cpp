#include "formatter/frozen_regions.h"

#include <gtest/gtest.h>

#include <tuple>

#include "formatter/pipeline.h"
#include "reference/reference.h"

namespace vornette {
namespace {

TEST(MarkerOf, SpellingsAndNearMisses) {
  const std::pair<std::string_view, Marker> rows[] = {
      {"; vornette: off", Marker::kOff},
      {";VORNETTE:ON", Marker::kOn},
      {" \t;\t vornette:\toff - hand-aligned", Marker::kOff},
      {"; vornette:on.", Marker::kOn},
      {"; vornette: offset", Marker::kNone},
      {"; vornette: on_", Marker::kNone},
      {"; vornette: on1", Marker::kNone},
      {"; vornette : off", Marker::kNone},
      {";; vornette: off", Marker::kNone},
      {"x=1 ; vornette: off", Marker::kNone},
      {"; vornette:", Marker::kNone},
      {"; vornett", Marker::kNone}};
  for (const auto& [line, marker] : rows) EXPECT_EQ(MarkerOf(line), marker) << line;
}

// Whole files: a region's lines keep their bytes but for the line end, the
// counters run on through it, and no alignment reaches across its border.
TEST(FrozenRegions, KeepTheirLines) {
  const FormatterSettings plain{}, aligned{.AlignAssignments = true},
      trimmed{.LineEnding = LineEndingMode::LF, .TrimTrailingBlanks = true},
      automatic{.LineEnding = LineEndingMode::Auto};
  // clang-format off
  const std::tuple<FormatterSettings, std::string_view, std::string_view> rows[] = {
      {plain, "def a()\nif x then\n; vornette: off\nx=1   ;  a\n  endif\n; vornette: on\ny=2\nend",
       "def a()\r\n  if x then\r\n    ; vornette: off\r\nx=1   ;  a\r\n  endif\r\n  ; vornette: on\r\n  y = 2\r\nend\r\n"},
      // Never closed; an "on" outside and an "off" inside change nothing.
      {plain, "; vornette: on\nx=1\n;vornette:off\n  ;VORNETTE: OFF\ny=2", "; vornette: on\r\nx = 1\r\n"
       ";vornette:off\r\n  ;VORNETTE: OFF\r\ny=2\r\n"},
      {aligned, "a=1\n; vornette: off\nbb=2\nccc=3\n; vornette: on\ndddd=4\ne=5",
       "a = 1\r\n; vornette: off\r\nbb=2\r\nccc=3\r\n; vornette: on\r\ndddd = 4\r\ne    = 5\r\n"},
      {trimmed, "x=1  \n;vornette:off\ny=2  \n", "x = 1\n;vornette:off\ny=2  \n"},
      {automatic, "x\n;vornette:off\n  y=1  \r\nz", "x\n;vornette:off\n  y=1  \nz"}};
  // clang-format on
  for (const auto& [settings, input, output] : rows) {
    EXPECT_EQ(
        reference::TextOf(FormatLines(reference::ListOf(input, settings.LineEnding), settings)),
        output)
        << input;
  }
}

}  // namespace
}  // namespace vornette
