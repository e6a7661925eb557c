#include "vornette_format/line_range_options.h"

#include <limits>

namespace vornette {
namespace {

// A decimal number from 1 up that fits a size_t; nothing else.
bool ParseLineNumber(std::string_view text, size_t* number) {
  if (text.empty() || text.size() > 18) return false;
  *number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    *number = *number * 10 + static_cast<size_t>(c - '0');
  }
  return *number >= 1;
}

}  // namespace

bool ParseLineRange(std::string_view text, LineRange* range) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  return ParseLineNumber(text.substr(0, colon), &range->first) &&
         ParseLineNumber(text.substr(colon + 1), &range->last) && range->first <= range->last;
}

std::vector<LineRange> LinesOfLfRanges(std::string_view bytes,
                                       const std::vector<LineRange>& lf_ranges) {
  // For each line as git counts it, the first of ours that begins in it.
  std::vector<size_t> first_of = {0, 1};
  size_t line = 1;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    if (crlf) ++i;
    ++line;
    if (bytes[i] == '\n') first_of.push_back(line);
  }
  std::vector<LineRange> ranges;
  const size_t lf_lines = first_of.size() - 1;
  for (const LineRange& range : lf_ranges) {
    if (range.first > lf_lines) continue;
    const size_t last =
        range.last >= lf_lines ? std::numeric_limits<size_t>::max() : first_of[range.last + 1] - 1;
    ranges.push_back({first_of[range.first], last});
  }
  return ranges;
}

}  // namespace vornette
