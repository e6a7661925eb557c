// The formatting routines written the straightforward way, step by step as
// their definition reads: the guards judge each occurrence from the start of
// the line, every table word and every spacing row is one guarded
// replacement, the blank collapse is a loop, the block tables are searched
// word by word. Quadratic on long lines, and never run by the program: it is
// the yardstick that tests and fuzzers hold the fast routines to.
#ifndef VORNETTE_REFERENCE_REFERENCE_H_
#define VORNETTE_REFERENCE_REFERENCE_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/indent.h"
#include "formatter/line_list.h"
#include "vornette/settings.h"

namespace vornette::reference {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool IsInList(std::string_view text, std::span<const std::string_view> table);
// `count` blanks; none when `count` is zero or negative.
std::string MakeIndent(int64_t count);

// The guards of the replacement; positions count from 1.
bool IsInComment(int64_t position, std::string_view line);
bool HasOddCount(int64_t position, std::string_view line, std::string_view quote_char);
bool IsInStringLiteral(int64_t position, std::string_view line);
bool IsWholeWord(int64_t position, int64_t match_length, std::string_view line);

// The flags of GuardedReplace.
enum ReplaceFlags : uint8_t { ReplaceAll = 1, IgnoreCase = 2 };

std::string GuardedReplace(std::string_view line, std::string_view old_pattern,
                           std::string_view new_pattern, uint8_t flags, bool whole_word);

// One category: one guarded replacement per word of `table`.
std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode);

// The 21 rows, then the collapse of blanks.
std::string SpaceOperators(std::string_view line);

std::string_view FirstWord(std::string_view line);
// The line without its leading bytes up to 0x20.
std::string_view TrimLeft(std::string_view line);
// After the first word, blanks and TABs skipped: the next run of
// non-separators.
std::string_view SecondWord(std::string_view trimmed);

// The indentation step, with MakeIndent and the four block tables, and the
// extended rules when the settings ask for them.
std::string IndentLine(std::string_view line, IndentState& state, const FormatterSettings& settings,
                       bool column_one = false);

// The line without the blanks and TABs at its end, unless the guards put
// the first of them outside the comment and inside a string literal.
std::string TrimTrailingBlanks(std::string_view line);

// The whole per-line pipeline, `line` as read from the file.
std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state);

// The lines with the "=" of every run of consecutive assignment lines of
// equal indentation in one column, one behind the run's longest target; a
// line marked in `kept` is none.
std::vector<std::string> AlignAssignments(std::vector<std::string> lines,
                                          const std::vector<bool>& kept = {});

// What a line says about formatting: 1 for "; vornette: off", 2 for
// "; vornette: on", 0 for anything else; read word by word.
int MarkerKind(std::string_view line);

// Every line of a file through the pipeline, one state for the file, whose
// last value goes to `final_state` when given; then the alignment, when the
// settings ask for it. A line between an "off" and the next "on" marker
// comes out as it went in, though the state runs through it.
std::vector<std::string> FormatFile(const std::vector<std::string>& lines,
                                    const FormatterSettings& settings,
                                    IndentState* final_state = nullptr);

// The text of a file written from `lines` with the line ends `ending` asks
// for, where `original` is the text the lines were read from.
std::string WriteLines(const std::vector<std::string>& lines, std::string_view original,
                       LineEndingMode ending);

// The lines of `bytes`, cut at CR LF, a lone CR or a lone LF.
std::vector<std::string> CutLines(std::string_view bytes);

// The lines of `list`, read back from its writing format.
std::vector<std::string> LinesOf(const LineList& list);

// A list holding the lines of `bytes`, cut by the program's own CutIntoLines
// for the line ends `ending` asks for; empty when the bytes hold a NUL byte.
LineList ListOf(std::string_view bytes, LineEndingMode ending = LineEndingMode::CRLF);

// The text of the writing format of `list`.
std::string TextOf(const LineList& list);

}  // namespace vornette::reference

#endif  // VORNETTE_REFERENCE_REFERENCE_H_
