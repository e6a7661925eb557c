#include "formatter/indent.h"

#include <limits>
#include <new>

#include "basic/basic.h"
#include "formatter/word_tables.h"

namespace vornette {
namespace {

// The number of blanks for `level`: the product, never negative. A product
// beyond the 32-bit range cannot be built; it must not wrap into a wrong count.
int64_t BlanksFor(int32_t indent_width, int64_t level) {
  int64_t product = 0;
  if (__builtin_mul_overflow(static_cast<int64_t>(indent_width), level, &product) ||
      product > std::numeric_limits<int32_t>::max() ||
      product < std::numeric_limits<int32_t>::min()) {
    throw std::bad_alloc();
  }
  return product > 0 ? product : 0;
}

// A cheap test that rules out most first words before the table lookups: no
// block word is longer than 9 characters, and all begin with one of these.
bool MayBeBlockWord(std::string_view word) {
  constexpr size_t kLongestBlockWord = 9;
  constexpr std::string_view kFirstCharacters = "DdIiLlRrFf;SsWwEeUuCc";
  return !word.empty() && word.size() <= kLongestBlockWord &&
         kFirstCharacters.find(word[0]) != std::string_view::npos;
}

}  // namespace

std::string_view FirstWord(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && !IsSeparator(line[end])) ++end;
  return line.substr(0, end);
}

std::string_view TrimLeft(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && static_cast<unsigned char>(line[start]) <= 0x20) ++start;
  return line.substr(start);
}

IndentedLine IndentLineParts(std::string_view line, IndentState& state, int32_t indent_width) {
  const std::string_view trimmed = TrimLeft(line);
  const std::string_view word = FirstWord(trimmed);
  const bool may_be_block_word = MayBeBlockWord(word);

  if (may_be_block_word && IsInList(word, BlockCloseWords)) --state.IndentLevel;
  if (may_be_block_word && IsInList(word, CaseCloseWords)) --state.CaseLevel;
  if (state.CaseLevel < 0) state.CaseLevel = 0;

  const int64_t blanks =
      BlanksFor(indent_width, state.IndentLevel) + BlanksFor(indent_width, state.CaseLevel);

  if (may_be_block_word && IsInList(word, BlockOpenWords)) ++state.IndentLevel;
  if (may_be_block_word && IsInList(word, CaseOpenWords)) ++state.CaseLevel;
  return {static_cast<size_t>(blanks), trimmed};
}

std::string IndentLine(std::string_view line, IndentState& state, int32_t indent_width) {
  const IndentedLine parts = IndentLineParts(line, state, indent_width);
  std::string result(parts.blanks, ' ');
  result.append(parts.text);
  return result;
}

}  // namespace vornette
