#include "formatter/line_list.h"

#include <algorithm>
#include <optional>
#include <span>

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

// Appends `text` to `out` with every line end as CR LF, a line end after a
// last line that has none when `close_last_line`, and returns the number of
// lines.
size_t CopyWidened(std::string_view text, bool close_last_line, ByteBuffer& out) {
  size_t lines = 0;
  size_t start = 0;
  ForEachLineEndByte(text, [&](size_t at) {
    if (at < start) return;  // the LF of a CR LF
    out.Append(text.substr(start, at - start));
    out.Append("\r\n");
    ++lines;
    start = at + 1;
    if (text[at] == '\r' && start < text.size() && text[start] == '\n') ++start;
  });
  if (start < text.size()) {
    out.Append(text.substr(start));
    if (close_last_line) {
      out.Append("\r\n");
      ++lines;
    }
  }
  return lines;
}

// Moves the `n` bytes at the start of `memory` to its end, every line end
// widened to CR LF on the way and a CR LF added after a last line that has
// none. Works from the back, so each byte moves once, and stretches whose
// line ends are CR LF already move in one piece. Returns the number of lines,
// and the offset where they begin in `*begin`; or, when the memory is too
// small for the widened lines, returns nothing and leaves in `*begin` the
// offset up to which the bytes are still as they were (the rest of the memory
// holding the widened lines after them).
std::optional<size_t> WidenToTheEnd(std::span<char> memory, size_t n, size_t* begin) {
  char* const data = memory.data();
  size_t src = n;                    // the bytes before it are not yet moved
  size_t shift = memory.size() - n;  // how far the bytes before `src` go
  size_t lines = 0;
  if (n > 0 && data[n - 1] != '\r' && data[n - 1] != '\n') {
    if (shift < 2) {
      *begin = n;
      return std::nullopt;
    }
    shift -= 2;
    std::memcpy(data + memory.size() - 2, "\r\n", 2);
    ++lines;
  }
  bool failed = false;
  ForEachLineEndByteBackward(std::string_view(data, n), [&](size_t at) {
    if (failed || at >= src) return;
    const bool cr = data[at] == '\r';
    if (cr && at + 1 < n && data[at + 1] == '\n') return;  // counted with its LF
    ++lines;
    if (!cr && at > 0 && data[at - 1] == '\r') return;  // a CR LF stays as it is
    // A lone CR or LF: what follows it moves by `shift`, and it becomes two
    // bytes, so what stands before it moves one place less far.
    if (shift == 0) {
      failed = true;
      --lines;
      return;
    }
    std::memmove(data + at + 1 + shift, data + at + 1, src - at - 1);
    data[at + shift - 1] = '\r';
    data[at + shift] = '\n';
    --shift;
    src = at;
  });
  if (failed) {
    *begin = src;
    return std::nullopt;
  }
  std::memmove(data + shift, data, src);
  *begin = shift;
  return lines;
}

// Moves the `n` bytes at the start of `bytes` to the end of its memory with
// every line end as LF and an LF after a last line that has none, and
// returns the number of lines and, in `*begin`, where they begin. Only CR
// bytes change (a CR LF loses its CR, a lone CR becomes LF), so a text with
// LF line ends is only moved.
size_t NarrowToTheEnd(ByteBuffer& bytes, size_t n, size_t* begin) {
  char* data = bytes.data();
  size_t read = 0;
  size_t write = 0;
  for (;;) {
    const size_t cr = read + FindByte(data + read, n - read, '\r');
    if (write != read) std::memmove(data + write, data + read, cr - read);
    write += cr - read;
    if (cr == n) break;
    read = cr + 1;
    if (read == n || data[read] != '\n') data[write++] = '\n';
  }
  size_t lines = 0;
  ForEachLineEndByte(std::string_view(data, write), [&](size_t) { ++lines; });
  if (write > 0 && data[write - 1] != '\n') {
    if (write == bytes.capacity()) {
      // No CR went, so the buffer holds exactly these bytes.
      bytes.Reserve(write + write / 4 + 64);
      data = bytes.data();
    }
    data[write++] = '\n';
    ++lines;
  }
  const size_t capacity = bytes.capacity();
  bytes.Resize(capacity);
  std::memmove(data + capacity - write, data, write);
  *begin = capacity - write;
  return lines;
}

// Whether the first line end of `text` is a lone LF.
bool FirstLineEndIsLf(std::string_view text) {
  const size_t lf = FindByte(text.data(), text.size(), '\n');
  // Only the bytes before the first LF can hold an earlier CR.
  return lf < text.size() && FindByte(text.data(), lf, '\r') == lf;
}

}  // namespace

void LineList::clear() {
  blocks_.clear();
  count_ = 0;
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
  block.Append(crlf_ ? std::string_view("\r\n") : std::string_view("\n"));
  ++count_;
}

size_t LineList::bytes() const {
  size_t total = 0;
  for (const Block& block : blocks_) total += block.view().size();
  return total;
}

void LineList::MakeRoomInFront() {
  for (Block& block : blocks_) {
    const size_t size = block.bytes.size() - block.begin;
    const size_t capacity = block.bytes.capacity();
    char* const data = block.bytes.data();
    std::memmove(data + capacity - size, data + block.begin, size);
    block.bytes.Resize(capacity);
    block.begin = capacity - size;
  }
}

std::vector<std::string_view> LineList::WritingFormat() const {
  std::vector<std::string_view> pieces;
  pieces.reserve(blocks_.size());
  for (const Block& block : blocks_) pieces.push_back(block.view());
  if (!ends_last_line_ && count_ > 0) {
    // Every block holds a line, so the last one ends with the last line end.
    pieces.back().remove_suffix(crlf_ ? 2 : 1);
  }
  return pieces;
}

bool CutIntoLines(ByteBuffer bytes, LineList* list, LineEndingMode ending) {
  list->clear();
  const std::string_view text = bytes.view();
  const size_t n = text.size();
  list->crlf_ = true;
  list->ends_last_line_ = true;
  if (n == 0) return true;

  // The lines go to the end of the memory, widened on the way; the room in
  // front of them is where RewriteLines puts the rewritten lines.
  if (std::memchr(text.data(), '\0', n) != nullptr) return false;
  LineList::Block block;
  if (ending == LineEndingMode::Auto) {
    list->ends_last_line_ = text.back() == '\r' || text.back() == '\n';
    if (FirstLineEndIsLf(text)) ending = LineEndingMode::LF;
  }
  if (ending == LineEndingMode::LF) {
    list->crlf_ = false;
    list->count_ = NarrowToTheEnd(bytes, n, &block.begin);
    block.bytes = std::move(bytes);
    list->blocks_.push_back(std::move(block));
    return true;
  }
  const size_t capacity = bytes.capacity();
  bytes.Resize(capacity);
  size_t begin = 0;
  if (const auto lines = WidenToTheEnd(std::span<char>(bytes.data(), capacity), n, &begin)) {
    list->count_ = *lines;
    block.begin = begin;
    block.bytes = std::move(bytes);
  } else {
    // Too little room: the bytes before `begin` are as read, the widened
    // lines after them fill the rest of the memory. Copy both, with room.
    const std::string_view unmoved(bytes.data(), begin);
    const std::string_view widened(bytes.data() + begin, capacity - begin);
    const size_t room = (unmoved.size() + widened.size()) / 2 + 64;
    block.bytes.Reserve(room + 2 * unmoved.size() + 2 + widened.size());
    block.bytes.Resize(room);
    // Unless nothing had moved yet, the unmoved bytes end where a line end
    // was widened, and the widened lines each hold one CR.
    const bool nothing_moved = begin == n;
    list->count_ = CopyWidened(unmoved, nothing_moved, block.bytes);
    if (!nothing_moved) {
      block.bytes.Append(widened);
      list->count_ += static_cast<size_t>(std::count(widened.begin(), widened.end(), '\r'));
    }
    block.begin = room;
  }
  list->blocks_.push_back(std::move(block));
  return true;
}

}  // namespace vornette
