// The formatting routines written the straightforward way, step by step as
// their definition reads: the quote counts taken from the start of the line
// for every occurrence, the tail copied after every occurrence, one guarded
// replacement per table word and per spacing row, the blank collapse as a
// loop. Quadratic on long lines, and therefore only the yardstick that the
// fast routines are compared with.
#ifndef VORNETTE_TESTS_LITERAL_ENGINE_H_
#define VORNETTE_TESTS_LITERAL_ENGINE_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "formatter/indent.h"

namespace vornette::literal {

std::string GuardedReplace(std::string_view line, std::string_view old_pattern,
                           std::string_view new_pattern, uint8_t flags, bool whole_word);

std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode);

std::string SpaceOperators(std::string_view line);

// The whole per-line pipeline.
std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state);

}  // namespace vornette::literal

#endif  // VORNETTE_TESTS_LITERAL_ENGINE_H_
