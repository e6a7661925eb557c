// The alignment of the "=" of consecutive assignments.
#ifndef VORNETTE_FORMATTER_ASSIGNMENTS_H_
#define VORNETTE_FORMATTER_ASSIGNMENTS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/indent.h"

namespace vornette {

// Where the parts of an assignment stand in a line that begins with its
// target (the line after its leading blanks).
struct Assignment {
  size_t target_length;  // a name and its selectors, such as $OUT[1] or p.x
  size_t equals;         // the position of the "="
};

// The assignment that `code` begins with: a target (a name followed by
// ".name" and "[...]" selectors, the brackets holding none of [ ] ; " ' =),
// blanks or TABs, then "=" not followed by another "=". Nothing for any
// other line, such as FOR i = 1, DECL INT n = 0, x == 1 or a[b[1]] = 2.
std::optional<Assignment> FindAssignment(std::string_view code);

// Aligns the "=" of every run of two or more consecutive assignment lines
// with the same number of leading blanks: each "=" one column behind the
// run's longest target, only the blanks and TABs before it changed. A run's
// width is known only at its end, so the lines go past twice: all of them
// to Observe, in order, then all of them again to Align.
class AssignmentAligner {
 public:
  // Takes note of the next line, `blanks` blanks followed by `text`, which
  // begins with no blank (an indented line's text).
  void Observe(size_t blanks, std::string_view text);

  // The next line again, as `line` holds it, aligned. The result's text lies
  // in `line` or in the aligner.
  IndentedLine Align(std::string_view line);

 private:
  static constexpr size_t kNoRun = static_cast<size_t>(-1);

  // Follows the runs over the lines; a run's lines share `leading` blanks.
  struct RunTracker {
    bool open = false;
    size_t leading = 0;
    // True when the line with `leading` blanks and `assignment` begins a run
    // (or is a line on its own), false when it goes on the open one.
    bool Starts(size_t leading_blanks, const std::optional<Assignment>& assignment);
  };

  void CloseRun();

  RunTracker observed_;
  size_t longest_ = 0;
  size_t lines_ = 0;
  // For each group of assignment lines, in order: the longest target of a
  // run, or kNoRun for a line on its own.
  std::vector<size_t> widths_;

  RunTracker aligned_;
  size_t next_width_ = 0;
  size_t width_ = kNoRun;
  std::string line_;
};

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_ASSIGNMENTS_H_
