#include "formatter/line_list.h"

#include <string.h>

#include <algorithm>

namespace vornette {
namespace {

// Finds line ends from left to right: each of CR and LF is searched with
// memchr and its next position kept, so the bytes are scanned once per kind.
class LineEndFinder {
 public:
  explicit LineEndFinder(std::string_view bytes)
      : bytes_(bytes), next_cr_(Find('\r', 0)), next_lf_(Find('\n', 0)) {}

  // The position of the first CR or LF at or after `from`, or the size.
  size_t Next(size_t from) {
    if (next_cr_ < from) next_cr_ = Find('\r', from);
    if (next_lf_ < from) next_lf_ = Find('\n', from);
    return std::min(next_cr_, next_lf_);
  }

 private:
  size_t Find(char c, size_t from) const {
    const void* found = std::memchr(bytes_.data() + from, c, bytes_.size() - from);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - bytes_.data())
                 : bytes_.size();
  }

  std::string_view bytes_;
  size_t next_cr_;
  size_t next_lf_;
};

// Rewrites the `n` bytes at `data` with every line end as CR LF, ending at
// `size` (n plus the growth, which the caller counted). Works from the back,
// so every byte moves at most once and none is overwritten before it moved.
void WidenLineEndsInPlace(char* data, size_t n, size_t size, bool open_last_line) {
  size_t dst = size;
  if (open_last_line) {
    dst -= 2;
    std::memcpy(data + dst, "\r\n", 2);
  }
  // The last CR and LF before `limit`, found with memrchr and kept.
  auto last_before = [&](char c, size_t limit) -> size_t {
    const void* found = ::memrchr(data, c, limit);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - data) + 1 : 0;
  };
  size_t src = n;
  size_t cr = last_before('\r', src);  // one past the position, 0 for none
  size_t lf = last_before('\n', src);
  while (src > 0) {
    if (cr > src) cr = last_before('\r', src);
    if (lf > src) lf = last_before('\n', src);
    const size_t line_end = std::max(cr, lf);  // one past the last line-end byte
    const size_t length = src - line_end;
    dst -= length;
    std::memmove(data + dst, data + line_end, length);
    if (line_end == 0) break;
    const size_t at = line_end - 1;
    src = (data[at] == '\n' && at > 0 && data[at - 1] == '\r') ? at - 1 : at;
    dst -= 2;
    data[dst] = '\r';
    data[dst + 1] = '\n';
  }
}

}  // namespace

void LineList::clear() {
  blocks_.clear();
  count_ = 0;
}

void LineList::AppendLine(size_t blanks, std::string_view text) {
  const size_t needed = blanks + text.size() + 2;
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < needed) {
    blocks_.emplace_back();
    blocks_.back().Reserve(std::max(blocks_.size() == 1 ? first_block_ : kBlockSize, needed));
  }
  ByteBuffer& block = blocks_.back();
  block.Append(blanks, ' ');
  block.Append(text);
  block.Append("\r\n");
  ++count_;
}

size_t LineList::bytes() const {
  size_t total = 0;
  for (const ByteBuffer& block : blocks_) total += block.size();
  return total;
}

std::vector<std::string> LineList::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(count_);
  ForEachLine([&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::vector<std::string_view> LineList::WritingFormat() const {
  std::vector<std::string_view> pieces;
  pieces.reserve(blocks_.size());
  for (const ByteBuffer& block : blocks_) pieces.push_back(block.view());
  return pieces;
}

bool CutIntoLines(ByteBuffer bytes, LineList* list) {
  list->clear();
  const std::string_view text = bytes.view();
  const size_t n = text.size();
  if (std::memchr(text.data(), '\0', n) != nullptr) return false;
  if (n == 0) return true;

  // Count the lines, and the bytes that lone CRs, lone LFs and a last line
  // without an end add on the way to CR LF.
  size_t lines = 0;
  size_t growth = 0;
  {
    LineEndFinder finder(text);
    for (size_t end = finder.Next(0); end < n; end = finder.Next(end + 1)) {
      ++lines;
      if (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') {
        ++end;
      } else {
        ++growth;
      }
    }
  }
  const bool open_last_line = text[n - 1] != '\r' && text[n - 1] != '\n';
  if (open_last_line) {
    ++lines;
    growth += 2;
  }

  if (growth > 0 && n + growth <= bytes.capacity()) {
    // The read left room behind the bytes: widen the line ends in place,
    // from the back, so no second copy of the file is made.
    bytes.Resize(n + growth);
    WidenLineEndsInPlace(bytes.data(), n, n + growth, open_last_line);
  } else if (growth > 0) {
    ByteBuffer converted;
    converted.Reserve(n + growth);
    LineEndFinder finder(text);
    size_t start = 0;
    while (start < n) {
      const size_t end = finder.Next(start);
      converted.Append(text.substr(start, end - start));
      converted.Append("\r\n");
      start = end + 1;
      if (end < n && text[end] == '\r' && start < n && text[start] == '\n') ++start;
    }
    bytes = std::move(converted);
  }
  list->blocks_.push_back(std::move(bytes));
  list->count_ = lines;
  return true;
}

bool CutIntoLines(std::string_view bytes, LineList* list) {
  ByteBuffer copy;
  copy.Append(bytes);
  return CutIntoLines(std::move(copy), list);
}

}  // namespace vornette
