#include "formatter/line_list.h"

namespace vornette {

void LineList::clear() {
  blocks_.clear();
  count_ = 0;
}

void LineList::Append(std::string_view line) {
  BeginLine().append(line);
  EndLine();
}

std::string& LineList::BeginLine() {
  if (blocks_.empty() || blocks_.back().size() >= kBlockSize) {
    blocks_.emplace_back();
    blocks_.back().reserve(kBlockSize + kBlockSize / 8);
  }
  return blocks_.back();
}

void LineList::EndLine() {
  blocks_.back().append("\r\n");
  ++count_;
}

std::vector<std::string> LineList::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(count_);
  ForEachLine([&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::vector<std::string_view> LineList::WritingFormat() const {
  return std::vector<std::string_view>(blocks_.begin(), blocks_.end());
}

bool CutIntoLines(std::string bytes, LineList* list) {
  list->clear();
  if (bytes.find('\0') != std::string::npos) return false;

  // Every lone CR or lone LF grows by one byte on its way to CR LF, and a last
  // line without a line end gains one.
  size_t lines = 0;
  size_t growth = 0;
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      ++lines;
      if (i + 1 < n && bytes[i + 1] == '\n') {
        ++i;
      } else {
        ++growth;
      }
    } else if (c == '\n') {
      ++lines;
      ++growth;
    }
  }
  const bool open_last_line = n > 0 && bytes[n - 1] != '\r' && bytes[n - 1] != '\n';
  if (open_last_line) {
    ++lines;
    growth += 2;
  }

  if (n == 0) return true;
  if (growth == 0) {
    list->blocks_.push_back(std::move(bytes));
  } else {
    std::string text;
    text.reserve(n + growth);
    for (size_t i = 0; i < n; ++i) {
      const char c = bytes[i];
      if (c == '\r') {
        if (i + 1 < n && bytes[i + 1] == '\n') ++i;
        text.append("\r\n");
      } else if (c == '\n') {
        text.append("\r\n");
      } else {
        text.push_back(c);
      }
    }
    if (open_last_line) text.append("\r\n");
    bytes.clear();
    bytes.shrink_to_fit();
    list->blocks_.push_back(std::move(text));
  }
  list->count_ = lines;
  return true;
}

}  // namespace vornette
