#include "formatter/guarded_replace.h"

#include "basic/basic.h"
#include "formatter/indent.h"
#include "formatter/word_tables.h"

namespace vornette {
namespace {

bool IsWholeWordAt(std::string_view line, size_t index, size_t length) {
  const bool before = index == 0 || IsSeparator(line[index - 1]);
  const bool behind = index + length >= line.size() || IsSeparator(line[index + length]);
  return before && behind;
}

}  // namespace

bool IsInComment(int64_t position, std::string_view line) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return false;
  return static_cast<int64_t>(semicolon) + 1 < position;
}

bool HasOddCount(int64_t position, std::string_view line, std::string_view quote_char) {
  if (position < 1 || position > static_cast<int64_t>(line.size())) return false;
  bool odd = false;
  for (int64_t i = 0; i < position; ++i) {
    if (SameTextNoCase(line.substr(static_cast<size_t>(i), 1), quote_char)) odd = !odd;
  }
  return odd;
}

bool IsInStringLiteral(int64_t position, std::string_view line) {
  for (std::string_view quote : QuoteChars) {
    if (HasOddCount(position, line, quote)) return true;
  }
  return false;
}

bool IsWholeWord(int64_t position, int64_t match_length, std::string_view line) {
  const bool before = position <= 1 || IsSeparator(line[static_cast<size_t>(position - 2)]);
  const int64_t behind_position = position + match_length;
  const bool behind = behind_position > static_cast<int64_t>(line.size()) ||
                      IsSeparator(line[static_cast<size_t>(behind_position - 1)]);
  return before && behind;
}

std::string GuardedReplace(std::string_view line, std::string_view old_pattern,
                           std::string_view new_pattern, uint8_t flags, bool whole_word) {
  if (line.empty() || old_pattern.empty()) return std::string(line);
  std::string upper_line;
  std::string upper_pattern;
  std::string_view search_text = line;
  std::string_view search_pattern = old_pattern;
  if (flags & IgnoreCase) {
    upper_line = UpperCase(line);
    upper_pattern = UpperCase(old_pattern);
    search_text = upper_line;
    search_pattern = upper_pattern;
  }

  ProtectionScanner protection(line);
  std::string result;
  result.reserve(line.size());
  size_t tail = 0;  // the part of `line` behind the last occurrence dealt with
  while (tail < line.size()) {
    const size_t found = search_text.find(search_pattern, tail);
    if (found == std::string_view::npos) break;
    const bool replace = !protection.IsProtected(found) &&
                         (!whole_word || IsWholeWordAt(line, found, old_pattern.size()));
    result.append(line.substr(tail, found - tail));
    result.append(replace ? new_pattern : line.substr(found, old_pattern.size()));
    tail = found + old_pattern.size();
    if (!(flags & ReplaceAll)) break;
  }
  if (tail < line.size()) result.append(line.substr(tail));
  return result;
}

}  // namespace vornette
