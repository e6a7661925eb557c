#include "vornette_format/unified_diff.h"

#include <algorithm>
#include <vector>

namespace vornette {
namespace {

// One line of `before` as patch sees it, and the lines of `after` that take
// its place: formatting keeps every line, so a line of `before` that holds
// lone CRs becomes one line of `after` per CR, and more.
struct Unit {
  std::string_view before;  // with its LF, if any
  std::vector<std::string_view> after;
  bool Same() const { return after.size() == 1 && after[0] == before; }
};

std::vector<Unit> Units(std::string_view before, std::string_view after) {
  std::vector<Unit> units;
  size_t b = 0;
  size_t a = 0;
  while (b < before.size()) {
    Unit unit;
    const size_t lf = before.find('\n', b);
    const size_t end = lf == std::string_view::npos ? before.size() : lf + 1;
    unit.before = before.substr(b, end - b);
    // As many lines of `after` as `before` has line ends (or a last line
    // without one) in this stretch.
    size_t lines = 0;
    for (size_t i = b; i < end; ++i) {
      lines += before[i] == '\n' || (before[i] == '\r' && (i + 1 >= end || before[i + 1] != '\n'));
    }
    if (end == before.size() && before.back() != '\n' && before.back() != '\r') ++lines;
    for (; lines > 0 && a < after.size(); --lines) {
      const size_t next = after.find('\n', a);
      const size_t stop = next == std::string_view::npos ? after.size() : next + 1;
      unit.after.push_back(after.substr(a, stop - a));
      a = stop;
    }
    units.push_back(std::move(unit));
    b = end;
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
  // Patches name files with "/" on every system.
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return "--- a/" + path + "\n+++ b/" + path + "\n" + out;
}

}  // namespace vornette
