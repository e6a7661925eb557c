// Replacement that leaves comments and string literals alone.
//
// A comment runs from the first ";" of a line to its end; a string literal
// lies between double quotes or between apostrophes, each quote character
// counted by itself. Positions count bytes from 1.
#ifndef VORNETTE_FORMATTER_GUARDED_REPLACE_H_
#define VORNETTE_FORMATTER_GUARDED_REPLACE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vornette {

// The flags of GuardedReplace, held as the bits of one byte.
enum ReplaceFlags : uint8_t {
  ReplaceAll = 1,  // consider every occurrence, not only the first
  IgnoreCase = 2,  // compare line and pattern in upper case
};

// True when `position` lies behind the first ";" of `line`. The ";" itself is
// not inside the comment it opens.
bool IsInComment(int64_t position, std::string_view line);

// True when `quote_char` stands an odd number of times at the positions 1 to
// `position` of `line`; false for a position outside the line.
bool HasOddCount(int64_t position, std::string_view line, std::string_view quote_char);

// True when an odd number of double quotes, or else of apostrophes, stands at
// or before `position`.
bool IsInStringLiteral(int64_t position, std::string_view line);

// True when the `match_length` bytes at `position` are bounded on both sides
// by a separator or an end of the line.
bool IsWholeWord(int64_t position, int64_t match_length, std::string_view line);

// Replaces the occurrences of `old_pattern` in `line` by `new_pattern`, except
// those that begin inside a comment or a string literal and, when
// `whole_word` is set, those that are part of a longer word. The guards judge
// `line` as passed; occurrences are found from the left and never overlap.
// Runs in time linear in the length of the line.
std::string GuardedReplace(std::string_view line, std::string_view old_pattern,
                           std::string_view new_pattern, uint8_t flags, bool whole_word);

// Answers "does this position lie in a comment or a string literal" for
// positions visited in increasing order, in time linear in the line overall.
class ProtectionScanner {
 public:
  explicit ProtectionScanner(std::string_view line)
      : line_(line), first_semicolon_(line.find(';')) {}

  // True when the byte at `index` (counted from 0, never smaller than at the
  // call before) lies inside a comment or a string literal.
  bool IsProtected(size_t index) {
    if (first_semicolon_ != std::string_view::npos && first_semicolon_ < index) return true;
    for (; scanned_ <= index; ++scanned_) {
      const char c = line_[scanned_];
      double_quotes_ ^= (c == '"');
      apostrophes_ ^= (c == '\'');
    }
    return double_quotes_ || apostrophes_;
  }

 private:
  std::string_view line_;
  size_t first_semicolon_;
  size_t scanned_ = 0;
  bool double_quotes_ = false;
  bool apostrophes_ = false;
};

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_GUARDED_REPLACE_H_
