// Operator spacing: comparison, assignment, multiplication and division
// operators between blanks, a blank after every comma and before the
// comment's ";", AND/OR joints between parenthesised terms spaced, runs of
// blanks collapsed; all outside comments and string literals.
#ifndef VORNETTE_FORMATTER_SPACING_H_
#define VORNETTE_FORMATTER_SPACING_H_

#include <string>
#include <string_view>

namespace vornette {

// Returns `line` with its operators spaced.
std::string SpaceOperators(std::string_view line);

// SpaceOperators, appending its result to `out`.
void AppendSpacedOperators(std::string_view line, std::string& out);

// The most bytes that spacing makes of a line of `length` bytes: a placeholder
// byte becomes a blank and two characters, every other byte at most a blank
// and itself, and one blank may end the line.
constexpr size_t SpacedLengthBound(size_t length) { return 3 * length + 1; }

// SpaceOperators, writing its result to `out`, which has room for
// SpacedLengthBound(line.size()) bytes; returns the result's length.
size_t WriteSpacedOperators(std::string_view line, char* out);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_SPACING_H_
