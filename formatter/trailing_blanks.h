// The removal of the blanks and TABs that end a line.
#ifndef VORNETTE_FORMATTER_TRAILING_BLANKS_H_
#define VORNETTE_FORMATTER_TRAILING_BLANKS_H_

#include <string_view>

namespace vornette {

// `text` without the blanks and TABs at its end, unless that run stands in
// a string literal that the line's code leaves open: then a program's string
// would lose characters, so the run stays. A run behind the line's first ";"
// is in the comment and always goes, as the replacement guards judge it.
std::string_view TrimTrailingBlanks(std::string_view text);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_TRAILING_BLANKS_H_
