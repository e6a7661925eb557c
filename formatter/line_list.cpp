#include "formatter/line_list.h"

#include <algorithm>

#include "basic/byte_scan.h"

namespace vornette {
namespace {

// The bits of the CR and LF bytes among the eight at `p`.
struct LineEndMasks {
  uint64_t cr;
  uint64_t lf;
};
LineEndMasks LineEndsIn(const char* p) {
  const uint64_t word = LoadWord(p);
  return {BytesEqual(word, '\r'), BytesEqual(word, '\n')};
}

// Calls `visit(position)` for every CR and LF byte of `text`, in order.
template <typename Visit>
void ForEachLineEndByte(std::string_view text, Visit visit) {
  const size_t n = text.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const LineEndMasks masks = LineEndsIn(text.data() + i);
    for (uint64_t bits = masks.cr | masks.lf; bits != 0; bits &= bits - 1) {
      visit(i + static_cast<size_t>(std::countr_zero(bits)) / 8);
    }
  }
  for (; i < n; ++i) {
    if (text[i] == '\r' || text[i] == '\n') visit(i);
  }
}

// Calls `visit(position)` for every CR and LF byte of `text`, last first.
template <typename Visit>
void ForEachLineEndByteBackward(std::string_view text, Visit visit) {
  size_t i = text.size();
  for (; i % 8 != 0; --i) {
    if (text[i - 1] == '\r' || text[i - 1] == '\n') visit(i - 1);
  }
  for (; i >= 8; i -= 8) {
    const LineEndMasks masks = LineEndsIn(text.data() + i - 8);
    for (uint64_t bits = masks.cr | masks.lf; bits != 0;) {
      const int top = 63 - std::countl_zero(bits);
      visit(i - 8 + static_cast<size_t>(top) / 8);
      bits &= ~(uint64_t{1} << top);
    }
  }
}

// Rewrites the `n` bytes at `data` with every line end as CR LF, ending at
// `size` (n plus the growth, which the caller counted). Works from the back,
// so every byte moves at most once and none is overwritten before it moved.
void WidenLineEndsInPlace(char* data, size_t n, size_t size, bool open_last_line) {
  size_t dst = size;
  if (open_last_line) {
    dst -= 2;
    std::memcpy(data + dst, "\r\n", 2);
  }
  size_t src = n;  // the bytes before it are not yet moved
  ForEachLineEndByteBackward(std::string_view(data, n), [&](size_t at) {
    if (at >= src) return;  // the CR of a CR LF already moved
    const size_t length = src - at - 1;
    dst -= length;
    std::memmove(data + dst, data + at + 1, length);
    src = (data[at] == '\n' && at > 0 && data[at - 1] == '\r') ? at - 1 : at;
    dst -= 2;
    data[dst] = '\r';
    data[dst + 1] = '\n';
  });
  dst -= src;
  std::memmove(data + dst, data, src);
}

// Copies `text` to `out` with every line end as CR LF.
void CopyWidened(std::string_view text, ByteBuffer& out) {
  size_t start = 0;
  ForEachLineEndByte(text, [&](size_t at) {
    if (at < start) return;  // the LF of a CR LF
    out.Append(text.substr(start, at - start));
    out.Append("\r\n");
    start = at + 1;
    if (text[at] == '\r' && start < text.size() && text[start] == '\n') ++start;
  });
  if (start < text.size()) {
    out.Append(text.substr(start));
    out.Append("\r\n");
  }
}

}  // namespace

void LineList::clear() {
  blocks_.clear();
  count_ = 0;
}

LineList LineList::Clone() const {
  LineList copy(first_block_);
  for (const Block& block : blocks_) {
    Block& cloned = copy.blocks_.emplace_back();
    cloned.bytes.Append(block.view());
  }
  copy.count_ = count_;
  return copy;
}

void LineList::AppendLine(size_t blanks, std::string_view text) {
  const size_t needed = blanks + text.size() + 2;
  if (blocks_.empty() || blocks_.back().bytes.capacity() - blocks_.back().bytes.size() < needed) {
    blocks_.emplace_back();
    blocks_.back().bytes.Reserve(std::max(blocks_.size() == 1 ? first_block_ : kBlockSize, needed));
  }
  ByteBuffer& block = blocks_.back().bytes;
  block.Append(blanks, ' ');
  block.Append(text);
  block.Append("\r\n");
  ++count_;
}

size_t LineList::bytes() const {
  size_t total = 0;
  for (const Block& block : blocks_) total += block.view().size();
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
  for (const Block& block : blocks_) pieces.push_back(block.view());
  return pieces;
}

bool CutIntoLines(ByteBuffer bytes, LineList* list) {
  list->clear();
  const std::string_view text = bytes.view();
  const size_t n = text.size();
  if (n == 0) return true;

  // Count the lines, and the bytes that lone CRs, lone LFs and a last line
  // without an end add on the way to CR LF: eight bytes at a time, a CR LF
  // pair being a CR bit with an LF bit eight places above it.
  if (std::memchr(text.data(), '\0', n) != nullptr) return false;
  size_t crs = 0;
  size_t lfs = 0;
  size_t pairs = 0;
  size_t i = 0;
  bool cr_before = false;  // the byte before this word is a CR
  for (; i + 8 <= n; i += 8) {
    const LineEndMasks masks = LineEndsIn(text.data() + i);
    crs += CountMarked(masks.cr);
    lfs += CountMarked(masks.lf);
    pairs += CountMarked(masks.cr & (masks.lf >> 8));
    pairs += cr_before && (masks.lf & 0x80);
    cr_before = (masks.cr >> 63) != 0;
  }
  for (; i < n; ++i) {
    crs += text[i] == '\r';
    lfs += text[i] == '\n';
    pairs += text[i] == '\n' && (i > 0 ? text[i - 1] == '\r' : false);
  }
  size_t lines = crs + lfs - pairs;
  size_t growth = (crs - pairs) + (lfs - pairs);
  const bool open_last_line = text[n - 1] != '\r' && text[n - 1] != '\n';
  if (open_last_line) {
    ++lines;
    growth += 2;
  }

  // The lines go to the end of the memory, widened on the way; the room in
  // front of them is where RewriteLines puts the rewritten lines.
  const size_t size = n + growth;
  LineList::Block block;
  if (size <= bytes.capacity()) {
    const size_t capacity = bytes.capacity();
    bytes.Resize(capacity);
    if (growth == 0) {
      std::memmove(bytes.data() + capacity - n, bytes.data(), n);
    } else {
      WidenLineEndsInPlace(bytes.data(), n, capacity, open_last_line);
    }
    block.begin = capacity - size;
    block.bytes = std::move(bytes);
  } else {
    const size_t room = size / 2;
    block.bytes.Reserve(room + size);
    block.bytes.Resize(room);
    CopyWidened(text, block.bytes);
    block.begin = room;
    bytes.Release();
  }
  list->blocks_.push_back(std::move(block));
  list->count_ = lines;
  return true;
}

bool CutIntoLines(std::string_view bytes, LineList* list) {
  ByteBuffer copy;
  copy.Append(bytes);
  return CutIntoLines(std::move(copy), list);
}

}  // namespace vornette
