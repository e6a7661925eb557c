#include "formatter/trailing_blanks.h"

#include <algorithm>

namespace vornette {

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (end == text.size()) return text;
  const std::string_view before = text.substr(0, end);
  if (before.find(';') != std::string_view::npos) return before;
  // Each quote character counts by itself, with no regard for the other.
  const bool open_double = std::count(before.begin(), before.end(), '"') % 2 == 1;
  const bool open_single = std::count(before.begin(), before.end(), '\'') % 2 == 1;
  return open_double || open_single ? text : before;
}

}  // namespace vornette
