// The line ranges of --lines and --lf-lines.
#ifndef VORNETTE_VORNETTE_FORMAT_LINE_RANGE_OPTIONS_H_
#define VORNETTE_VORNETTE_FORMAT_LINE_RANGE_OPTIONS_H_

#include <string_view>
#include <vector>

#include "vornette/vornette.h"

namespace vornette {

// Reads "A:B", two decimal line numbers with 1 <= A <= B. False for any
// other text.
bool ParseLineRange(std::string_view text, LineRange* range);

// The ranges of lines of `bytes` that `lf_ranges` name in lines counted as
// git counts them, where only an LF ends a line: a line of git's that holds
// lone CRs is several lines here, and all of them are taken.
std::vector<LineRange> LinesOfLfRanges(std::string_view bytes,
                                       const std::vector<LineRange>& lf_ranges);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_LINE_RANGE_OPTIONS_H_
