// Keyword capitalization: the known KRL words of each category rewritten
// wholly in upper or lower case, outside comments and string literals, and
// only where they stand as whole words.
#ifndef VORNETTE_FORMATTER_CAPITALIZATION_H_
#define VORNETTE_FORMATTER_CAPITALIZATION_H_

#include <array>
#include <span>

#include "vornette/settings.h"

namespace vornette {

// Keyword capitalization of all eight categories, each with its mode from
// `modes`, in one scan of `line`, rewriting it in place. Every whole-word
// occurrence of a table word that begins outside comments and string
// literals is rewritten in its category's case. This equals one guarded
// replacement per table word and category, in category order: whole-word
// occurrences of table words never overlap, no word stands in two tables and
// recasing moves no guard.
void ApplyCapitalizations(std::span<char> line,
                          const std::array<CapitalizationMode, kKeywordCategoryCount>& modes);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_CAPITALIZATION_H_
