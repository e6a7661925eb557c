// Operator spacing: comparison, assignment, multiplication and division
// operators between blanks, a blank after every comma and before the
// comment's ";", AND/OR joints between parenthesised terms spaced, runs of
// blanks collapsed; all outside comments and string literals.
#ifndef VORNETTE_FORMATTER_SPACING_H_
#define VORNETTE_FORMATTER_SPACING_H_

#include <cstddef>
#include <string_view>

namespace vornette {

// The most bytes that spacing makes of a line of `length` bytes: a placeholder
// byte becomes a blank and two characters, every other byte at most a blank
// and itself, and one blank may end the line.
constexpr size_t SpacedLengthBound(size_t length) { return 3 * length + 1; }

// Writes `line` with its operators spaced to `out`, which has room for
// SpacedLengthBound(line.size()) bytes, and returns the result's length. One
// scan of the line gives what the table of 21 guarded replacements and the
// collapse of blanks give.
size_t SpaceOperators(std::string_view line, char* out);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_SPACING_H_
