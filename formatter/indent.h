// Word tests shared by the formatting stages, and the indentation step that
// re-indents each line by the block structure of its file.
#ifndef VORNETTE_FORMATTER_INDENT_H_
#define VORNETTE_FORMATTER_INDENT_H_

#include <array>
#include <cstdint>
#include <string_view>

#include "vornette/settings.h"

namespace vornette {

namespace internal {
// Membership of every byte in SeparatorChars, for the hot paths.
inline constexpr std::array<bool, 256> kSeparatorTable = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("(,-~*()|{}\t[]<>=\"' ,?:+")) table[c] = true;
  return table;
}();
}  // namespace internal

// True when `ch` is one of the characters of SeparatorChars.
inline bool IsSeparator(char ch) {
  return internal::kSeparatorTable[static_cast<unsigned char>(ch)];
}

// The leading run of non-separator characters of `line`.
std::string_view FirstWord(std::string_view line);

// What a first word does to the counters: the four table tests of a word,
// answered with one lookup. A routine word opens or closes only while
// routine bodies are indented; the three words that look at a second word
// are only marked as such.
enum BlockWordEffect : uint8_t {
  kClosesBlock = 1,
  kClosesCase = 2,
  kOpensBlock = 4,
  kOpensCase = 8,
  kRoutine = 16,
  kGlobal = 32,
  kTimeBlock = 64,
  kConstVel = 128,
};

// The effects the indentation step reads in `trimmed`, a line without its
// leading blanks, by the classic or the extended rules; before the settings
// that leave routines and folds flat.
uint8_t BlockEffects(std::string_view trimmed, bool extended);

// The nesting counters of one file pass. They start at 0 for every file. The
// counters are wider than any file can drive them, so they never wrap.
struct IndentState {
  int64_t IndentLevel = 0;
  int64_t CaseLevel = 0;
};

// An indented line: this many blanks, then `text`.
struct IndentedLine {
  size_t blanks;
  std::string_view text;
};

// The indentation step: removes the leading blanks and control characters of
// `line` (the result's text is a part of it) and finds the number of blanks
// for the nesting depth, updating `state` by the block rules `settings` ask
// for. A line kept in `column_one` gets no blanks but counts for the
// structure. Throws std::bad_alloc when IndentWidth times a counter leaves
// the signed 32-bit range, as such a run of blanks is too long to build.
IndentedLine IndentLine(std::string_view line, IndentState& state,
                        const FormatterSettings& settings, bool column_one = false);

// `text` without the blanks and TABs it begins with.
inline std::string_view SkipBlanksAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// Removes the leading bytes up to 0x20 (blanks, TABs, control characters).
std::string_view TrimLeft(std::string_view line);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_INDENT_H_
