// Lines that formatting keeps as they are: a hand-aligned table, a block
// pasted from a manual, code another tool writes, between a
// "; vornette: off" line and the next "; vornette: on" line.
#ifndef VORNETTE_FORMATTER_FROZEN_REGIONS_H_
#define VORNETTE_FORMATTER_FROZEN_REGIONS_H_

#include <string_view>

namespace vornette {

enum class Marker { kNone, kOff, kOn };

// What the line `line` says: kOff or kOn when it is a marker line (its first
// byte that is no blank or TAB is ";", then, after blanks or TABs,
// "vornette:", blanks or TABs, and "off" or "on", in any letter case, ended
// by the line's end or by a byte that is no letter, digit or "_"), else
// kNone.
Marker MarkerOf(std::string_view line);

// Follows the markers over the lines of a file, in order. An "off" inside a
// region and an "on" outside one change nothing; a region that is never
// closed runs to the end of the file.
class FrozenRegions {
 public:
  // True when `line`, the next line of the file, keeps its bytes: a line
  // after an "off" marker, up to the next "on" marker, which is formatted.
  // Asked before the line is formatted.
  bool Keep(std::string_view line) {
    if (inside_) inside_ = MarkerOf(line) != Marker::kOn;
    return inside_;
  }

  // Takes note of a line not kept, `line`, formatted to `text` (without its
  // indentation): an "off" marker opens a region. A marker's text begins
  // with ";", so most lines cost one look at a byte in hand.
  void Formatted(std::string_view line, std::string_view text) {
    inside_ = !text.empty() && text.front() == ';' && MarkerOf(line) == Marker::kOff;
  }

 private:
  bool inside_ = false;
};

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_FROZEN_REGIONS_H_
