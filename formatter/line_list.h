// The lines of one source file, and the text format they are read from and
// written in.
#ifndef VORNETTE_FORMATTER_LINE_LIST_H_
#define VORNETTE_FORMATTER_LINE_LIST_H_

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vornette {

// An ordered list of lines. A line never holds CR, LF or NUL.
//
// The lines are stored in their writing format, each followed by CR LF, in
// blocks of about a megabyte: that takes barely more memory than the file,
// needs no allocation per line, and the blocks are written out as they stand.
class LineList {
 public:
  static constexpr size_t kBlockSize = 1 << 20;

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  void clear();

  // Appends one line.
  void Append(std::string_view line);

  // Opens a new line at the end and returns the text to append its bytes to;
  // EndLine closes it. Lets a stage write straight into the list.
  std::string& BeginLine();
  void EndLine();

  // Calls `visit(std::string_view line)` for every line, in order.
  template <typename Visit>
  void ForEachLine(Visit visit) const {
    for (const std::string& block : blocks_) {
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
  friend bool CutIntoLines(std::string bytes, LineList* list);

 private:
  std::vector<std::string> blocks_;
  size_t count_ = 0;
};

bool CutIntoLines(std::string bytes, LineList* list);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_LINE_LIST_H_
