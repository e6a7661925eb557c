// The fixed word tables of the formatter, stored as written (case included;
// every lookup ignores case, so the stored case has no effect).
#ifndef VORNETTE_FORMATTER_WORD_TABLES_H_
#define VORNETTE_FORMATTER_WORD_TABLES_H_

#include <span>
#include <string_view>

#include "vornette/settings.h"

namespace vornette {

// The characters that delimit words. "(" and "," stand in it twice.
extern const std::string_view SeparatorChars[23];

// Block words of the indentation step, tested on a line's first word.
extern const std::string_view BlockOpenWords[11];
extern const std::string_view BlockCloseWords[11];
extern const std::string_view CaseOpenWords[3];
extern const std::string_view CaseCloseWords[3];
// The block words that begin and end routines and data lists.
extern const std::string_view RoutineWords[6];

// The keyword tables of the eight capitalization categories.
extern const std::string_view ProgramFlowStrings[37];
extern const std::string_view SetupCommandStrings[25];
extern const std::string_view MotionCommandStrings[18];
extern const std::string_view MathAndFunctionStrings[19];
extern const std::string_view IOCommandStrings[10];
extern const std::string_view TypeDefinitionStrings[10];
extern const std::string_view SystemVariableStrings[9];
extern const std::string_view OpusTechFunctionStrings[9];

// The word table of `category`.
std::span<const std::string_view> WordTableOf(KeywordCategory category);

// The quote characters, in the order the string-literal test tries them.
extern const std::string_view QuoteChars[2];

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_WORD_TABLES_H_
