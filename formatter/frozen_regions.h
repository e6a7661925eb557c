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
  // after an "off" marker and before the next "on" marker. The marker lines
  // themselves are formatted.
  bool Next(std::string_view line) {
    const Marker marker = MarkerOf(line);
    if (frozen_) {
      frozen_ = marker != Marker::kOn;
      return frozen_;
    }
    frozen_ = marker == Marker::kOff;
    return false;
  }

 private:
  bool frozen_ = false;
};

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_FROZEN_REGIONS_H_
