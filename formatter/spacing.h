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

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_SPACING_H_
