// The lines of one source file, and the text format they are read from and
// written in.
#ifndef VORNETTE_FORMATTER_LINE_LIST_H_
#define VORNETTE_FORMATTER_LINE_LIST_H_

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "basic/byte_buffer.h"

namespace vornette {

// An ordered list of lines. A line never holds CR, LF or NUL.
//
// The lines are stored in their writing format, each followed by CR LF, in
// blocks of a few megabytes: that takes barely more memory than the file,
// needs no allocation per line, and the blocks are written out as they stand.
class LineList {
 public:
  static constexpr size_t kBlockSize = size_t{2} << 20;

  // `first_block` is the capacity of the first block: a small file need not
  // take a whole block.
  explicit LineList(size_t first_block = kBlockSize) : first_block_(first_block) {}

  size_t size() const { return count_; }
  // The length of the writing format, in bytes.
  size_t bytes() const;
  bool empty() const { return count_ == 0; }
  void clear();

  // Appends one line.
  void Append(std::string_view line) { AppendLine(0, line); }

  // Appends one line made of `blanks` blanks followed by `text`.
  void AppendLine(size_t blanks, std::string_view text);

  // Calls `visit(std::string_view line)` for every line, in order.
  template <typename Visit>
  void ForEachLine(Visit visit) const {
    for (const ByteBuffer& block : blocks_) {
      const char* p = block.data();
      const char* const end = p + block.size();
      while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
        visit(std::string_view(p, cr - p));
        p = cr + 2;
      }
    }
  }

  // The lines as separate strings, for tests and small tools.
  std::vector<std::string> Lines() const;

  // The writing format: every line followed by CR LF, as pieces to be written
  // one after the other.
  std::vector<std::string_view> WritingFormat() const;

  // Cuts `bytes` into lines at CR LF, a lone CR or a lone LF and makes them
  // the whole content of `list`. Returns false, leaving `list` empty, when the
  // bytes hold a NUL byte: such a file is not single-byte text.
  friend bool CutIntoLines(ByteBuffer bytes, LineList* list);

 private:
  std::vector<ByteBuffer> blocks_;
  size_t count_ = 0;
  size_t first_block_;
};

bool CutIntoLines(ByteBuffer bytes, LineList* list);

// CutIntoLines of a copy of `bytes`.
bool CutIntoLines(std::string_view bytes, LineList* list);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_LINE_LIST_H_
