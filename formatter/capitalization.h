// Keyword capitalization: the known KRL words of each category rewritten
// wholly in upper or lower case, outside comments and string literals, and
// only where they stand as whole words.
#ifndef VORNETTE_FORMATTER_CAPITALIZATION_H_
#define VORNETTE_FORMATTER_CAPITALIZATION_H_

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "config/settings.h"

namespace vornette {

// Rewrites every whole-word occurrence of a word of `table` in `line` in the
// case `mode` asks for. The result has the length of `line`.
std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode);

// Does what ApplyCapitalization does for all eight categories in turn, each
// with its mode from `modes`, in one scan of `line`, rewriting it in place.
// The outcome is the same: whole-word occurrences of table words never
// overlap, no word stands in two tables and recasing moves no guard.
void ApplyAllCapitalizations(std::span<char> line,
                             const std::array<CapitalizationMode, kKeywordCategoryCount>& modes);
inline void ApplyAllCapitalizations(
    std::string& line, const std::array<CapitalizationMode, kKeywordCategoryCount>& modes) {
  ApplyAllCapitalizations(std::span<char>(line.data(), line.size()), modes);
}

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_CAPITALIZATION_H_
