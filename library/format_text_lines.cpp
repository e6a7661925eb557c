#include <algorithm>
#include <vector>

#include "basic/byte_scan.h"
#include "vornette/vornette.h"

namespace vornette {
namespace {

// One line of a text as it stands there: its bytes and its line end ("\r\n",
// "\r", "\n", or none for a last line without one).
struct TextLine {
  std::string_view text;
  std::string_view end;
};

// The line that begins at `*at` in `bytes`; moves `*at` past its line end.
TextLine NextLine(std::string_view bytes, size_t* at) {
  const size_t start = *at;
  const size_t stop = LineEndFrom(bytes, start);
  const size_t next = NextLineStart(bytes, stop);
  *at = next;
  return {bytes.substr(start, stop - start), bytes.substr(stop, next - stop)};
}

// The ranges as a sorted list of stretches that neither touch nor overlap.
std::vector<LineRange> Union(std::span<const LineRange> ranges) {
  std::vector<LineRange> sorted(ranges.begin(), ranges.end());
  std::sort(sorted.begin(), sorted.end(),
            [](const LineRange& a, const LineRange& b) { return a.first < b.first; });
  std::vector<LineRange> merged;
  for (const LineRange& range : sorted) {
    if (range.last < range.first) continue;
    if (!merged.empty() && range.first <= merged.back().last + 1) {
      merged.back().last = std::max(merged.back().last, range.last);
    } else {
      merged.push_back(range);
    }
  }
  return merged;
}

}  // namespace

bool FormatTextLines(std::string_view bytes, const FormatterSettings& settings,
                     std::span<const LineRange> ranges, std::string* formatted,
                     std::string* error) {
  // The whole text formatted with LF after every line: its lines, one for
  // each line of `bytes`, are then the stretches between the LFs.
  FormatterSettings whole = settings;
  whole.LineEnding = LineEndingMode::LF;
  std::string all;
  if (!FormatText(bytes, whole, &all, error)) return false;
  const std::vector<LineRange> selected = Union(ranges);
  formatted->clear();
  formatted->reserve(bytes.size() + bytes.size() / 8);
  size_t at = 0;
  size_t from = 0;  // where the next line of `all` begins
  size_t number = 0;
  auto range = selected.begin();
  std::string_view previous_end;
  while (at < bytes.size()) {
    const TextLine line = NextLine(bytes, &at);
    const size_t lf = all.find('\n', from);
    const std::string_view result = std::string_view(all).substr(from, lf - from);
    from = lf + 1;
    ++number;
    while (range != selected.end() && range->last < number) ++range;
    const bool chosen = range != selected.end() && range->first <= number;
    std::string_view text = line.text;
    if (chosen && !(result.empty() && previous_end == "\r" && line.end == "\n")) text = result;
    previous_end = line.end;
    if (text.empty() && line.end.empty()) break;  // a last line that formats to nothing
    formatted->append(text).append(line.end);
  }
  return true;
}

}  // namespace vornette
