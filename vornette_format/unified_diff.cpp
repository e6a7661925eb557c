#include "vornette_format/unified_diff.h"

#include <algorithm>
#include <vector>

#include "basic/byte_scan.h"

namespace vornette {
namespace {

// One line of `before` as patch sees it, and the lines of `after` that take
// its place. Both texts hold the same lines (but for a last line that
// `after` dropped) with their own line ends: a line of `before` that holds
// lone CRs may be several lines of `after`, as patch sees them, or one.
struct Unit {
  std::string_view before;  // with its LF, if any
  std::vector<std::string_view> after;
  bool Same() const { return after.size() == 1 && after[0] == before; }
};

// The position behind the line end of the line that begins at `at`.
size_t LineEndBehind(std::string_view text, size_t at) {
  return NextLineStart(text, LineEndFrom(text, at));
}

std::vector<Unit> Units(std::string_view before, std::string_view after) {
  std::vector<Unit> units;
  size_t b = 0;
  size_t a = 0;
  while (b < before.size()) {
    Unit unit;
    const size_t from_b = b;
    const size_t from_a = a;
    // Line by line in both, up to a line of `before` that ends with an LF.
    do {
      b = LineEndBehind(before, b);
      a = LineEndBehind(after, std::min(a, after.size()));
    } while (b < before.size() && before[b - 1] != '\n');
    unit.before = before.substr(from_b, b - from_b);
    const std::string_view stretch = after.substr(from_a, a - from_a);
    for (size_t start = 0; start < stretch.size();) {
      const size_t lf = stretch.find('\n', start);
      const size_t stop = lf == std::string_view::npos ? stretch.size() : lf + 1;
      unit.after.push_back(stretch.substr(start, stop - start));
      start = stop;
    }
    units.push_back(std::move(unit));
  }
  return units;
}

void AppendLine(std::string& out, char mark, std::string_view line) {
  out += mark;
  out.append(line);
  if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string UnifiedDiff(std::string_view name, std::string_view before, std::string_view after) {
  constexpr size_t kContext = 3;
  const std::vector<Unit> units = Units(before, after);
  // The number of the first line of `after` that each unit gives.
  std::vector<size_t> new_line = {1};
  for (const Unit& unit : units) new_line.push_back(new_line.back() + unit.after.size());
  std::string out;
  for (size_t u = 0; u < units.size();) {
    if (units[u].Same()) {
      ++u;
      continue;
    }
    // A hunk runs from kContext units before the first change to kContext
    // units after the last change that follows another within 2 * kContext.
    const size_t first = u - std::min(u, kContext);
    size_t last = u;  // one past the last changed unit
    for (size_t same = 0; u < units.size() && same <= 2 * kContext; ++u) {
      same = units[u].Same() ? same + 1 : 0;
      if (same == 0) last = u + 1;
    }
    const size_t end = std::min(units.size(), last + kContext);
    out += "@@ -" + std::to_string(first + 1) + "," + std::to_string(end - first) + " +" +
           std::to_string(new_line[first]) + "," + std::to_string(new_line[end] - new_line[first]) +
           " @@\n";
    // Each run of changed units: its old lines, then its new lines.
    for (size_t k = first; k < end;) {
      if (units[k].Same()) {
        AppendLine(out, ' ', units[k++].before);
        continue;
      }
      size_t run_end = k;
      while (run_end < end && !units[run_end].Same()) AppendLine(out, '-', units[run_end++].before);
      for (; k < run_end; ++k) {
        for (std::string_view line : units[k].after) AppendLine(out, '+', line);
      }
    }
    u = end;
  }
  if (out.empty()) return out;
  // Patches name files with "/" on every system, and git apply takes no "."
  // segments.
  std::string path;
  for (size_t start = 0; start < name.size();) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) != ".") path.append(name.substr(start, end - start)) += '/';
    start = end + 1;
  }
  if (!path.empty()) path.pop_back();
  // patch takes a name with a blank whole only when a TAB ends it, as git
  // writes it.
  if (path.find(' ') != std::string::npos) path += '\t';
  return "--- a/" + path + "\n+++ b/" + path + "\n" + out;
}

}  // namespace vornette
