// The unified diff of a file and its formatted text.
#ifndef VORNETTE_VORNETTE_FORMAT_UNIFIED_DIFF_H_
#define VORNETTE_VORNETTE_FORMAT_UNIFIED_DIFF_H_

#include <string>
#include <string_view>

namespace vornette {

// A unified diff with three lines of context that `patch -p1` applies to
// `before` to give `after`, headed "--- a/NAME" and "+++ b/NAME"; empty when
// the two are equal. `after` must be what formatting makes of `before`: as
// many lines, each ended by CR LF. Lines are what patch takes them for (ended
// by LF), so lines of `before` joined by a lone CR form one patch line.
std::string UnifiedDiff(std::string_view name, std::string_view before, std::string_view after);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_UNIFIED_DIFF_H_
