// The lines of one source file, and the text format they are read from and
// written in.
#ifndef VORNETTE_FORMATTER_LINE_LIST_H_
#define VORNETTE_FORMATTER_LINE_LIST_H_

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "basic/byte_buffer.h"
#include "basic/byte_scan.h"
#include "vornette/settings.h"

namespace vornette {

// An ordered list of lines. A line never holds CR, LF or NUL.
//
// The lines are stored in their writing format, each followed by its line
// end (CR LF, or LF alone, the same for every line of a list), in
// blocks of a few megabytes: that takes barely more memory than the file,
// needs no allocation per line, and the blocks are written out as they stand.
// A block may have room in front of its lines, where RewriteLines puts the
// rewritten lines, so that a file is reformatted without a second copy of it.
class LineList {
 public:
  static constexpr size_t kBlockSize = size_t{2} << 20;

  // `first_block` is the capacity of the first block: a small file need not
  // take a whole block.
  explicit LineList(size_t first_block = kBlockSize, bool crlf = true)
      : first_block_(first_block), crlf_(crlf) {}
  LineList(LineList&&) = default;
  LineList& operator=(LineList&&) = default;

  size_t size() const { return count_; }
  // The length of the writing format, in bytes.
  size_t bytes() const;
  bool empty() const { return count_ == 0; }
  // Empties the list; how its lines end stays.
  void clear();

  // Appends one line.
  void Append(std::string_view line) { AppendLine(0, line); }

  // Appends one line made of `blanks` blanks followed by `text`.
  void AppendLine(size_t blanks, std::string_view text);

  // Replaces every line, in order, by `rewrite(line)`: an object whose
  // `blanks` blanks followed by its `text` make the new line. The text may lie
  // in the line itself. A new line goes where the lines already passed were,
  // when it fits there; from the first one that does not fit on, the new lines
  // go to new blocks. If `rewrite` throws, the list is left empty.
  template <typename Rewrite>
  void RewriteLines(Rewrite rewrite);

  // Moves the lines of each block to the end of its memory, so that the next
  // RewriteLines can let lines grow in the room that frees in front of them
  // rather than copy every line after the first that grows.
  void MakeRoomInFront();

  // The writing format: every line followed by its line end (but the last,
  // when the list does not end its last line), as pieces to be written one
  // after the other.
  std::vector<std::string_view> WritingFormat() const;

  // Cuts `bytes` into lines at CR LF, a lone CR or a lone LF and makes them
  // the whole content of `list`, whose line ends `ending` chooses (for Auto,
  // by the bytes). Returns false, leaving `list` empty, when the bytes hold a
  // NUL byte: such a file is not single-byte text. The memory behind the
  // bytes becomes room for RewriteLines.
  friend bool CutIntoLines(ByteBuffer bytes, LineList* list, LineEndingMode ending);

 private:
  // Lines in writing format from `begin` to the end of `bytes`.
  struct Block {
    ByteBuffer bytes;
    size_t begin = 0;
    std::string_view view() const { return bytes.view().substr(begin); }
  };

  // RewriteLines for lines that end with CR LF or with LF alone.
  template <bool kCrLf, typename Rewrite>
  void RewriteLinesEndedBy(Rewrite& rewrite);

  std::vector<Block> blocks_;
  size_t count_ = 0;
  size_t first_block_;
  bool crlf_ = true;
  bool ends_last_line_ = true;
};

template <typename Rewrite>
void LineList::RewriteLines(Rewrite rewrite) {
  if (crlf_) {
    RewriteLinesEndedBy<true>(rewrite);
  } else {
    RewriteLinesEndedBy<false>(rewrite);
  }
}

template <bool kCrLf, typename Rewrite>
void LineList::RewriteLinesEndedBy(Rewrite& rewrite) {
  constexpr size_t kEndSize = kCrLf ? 2 : 1;
  constexpr std::string_view kEnd = kCrLf ? "\r\n" : "\n";
  // The new lines that do not fit where the old ones were; rarely any, so
  // its first block is no larger than the lines could need.
  const size_t total = bytes();
  LineList moved(std::min(kBlockSize, total + total / 4 + 64), kCrLf);
  std::vector<Block> blocks = std::move(blocks_);
  const size_t count = count_;
  clear();
  for (Block& block : blocks) {
    char* const data = block.bytes.data();
    const size_t end = block.bytes.size();
    size_t read = block.begin;
    size_t write = 0;
    while (read < end) {
      const size_t line_end = read + FindByte(data + read, end - read, kEnd[0]);
      const size_t next = line_end + kEndSize;  // the first byte not yet read
      const auto line = rewrite(std::string_view(data + read, line_end - read));
      const size_t length = line.blanks + line.text.size() + kEndSize;
      if (moved.empty() && write + length <= next) {
        // Text first: the blanks may cover where it was.
        std::memmove(data + write + line.blanks, line.text.data(), line.text.size());
        std::memset(data + write, ' ', line.blanks);
        std::memcpy(data + write + length - kEndSize, kEnd.data(), kEndSize);
        write += length;
      } else {
        moved.AppendLine(line.blanks, line.text);
      }
      read = next;
    }
    if (write > 0) {
      block.bytes.Resize(write);
      block.begin = 0;
      blocks_.push_back(std::move(block));
    }
  }
  for (Block& block : moved.blocks_) blocks_.push_back(std::move(block));
  count_ = count;
}

bool CutIntoLines(ByteBuffer bytes, LineList* list, LineEndingMode ending = LineEndingMode::CRLF);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_LINE_LIST_H_
