#include "formatter/spacing.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "basic/basic.h"

namespace vornette {
namespace {

// The four bytes that stand in for the two-character operators while the
// one-character operators are spaced. Such a byte already in the line, outside
// comments and literals, comes out as its operator.
constexpr char kGreaterEqualMark = '\xF2';
constexpr char kLessEqualMark = '\xF3';
constexpr char kNotEqualMark = '\xF7';
constexpr char kEqualEqualMark = '\xF0';

// Builds the spaced line. Every blank, given or added, becomes "pending" and
// is written as one blank before the next byte, so runs of blanks outside
// comments and literals come out as one blank while those inside stay.
class SpacedLineWriter {
 public:
  explicit SpacedLineWriter(char* out) : start_(out), end_(out) {}

  void Blank() { pending_blank_ = true; }
  void Byte(char c) {
    FlushBlank();
    *end_++ = c;
  }
  void Text(std::string_view text) {
    FlushBlank();
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
  }
  // An operator between blanks.
  void Operator(std::string_view op) {
    Blank();
    FlushBlank();
    for (char c : op) *end_++ = c;
    Blank();
  }
  // Copies bytes from `line` at `i` while `special` says no, and returns the
  // position of the first special byte (or the end).
  size_t CopyRun(std::string_view line, size_t i, const std::array<bool, 256>& special) {
    if (i < line.size() && !special[static_cast<unsigned char>(line[i])]) {
      FlushBlank();
      do {
        *end_++ = line[i++];
      } while (i < line.size() && !special[static_cast<unsigned char>(line[i])]);
    }
    return i;
  }
  // Writes what is pending and returns the length of the line.
  size_t Finish() {
    FlushBlank();
    return static_cast<size_t>(end_ - start_);
  }

 private:
  void FlushBlank() {
    *end_ = ' ';
    end_ += pending_blank_;
    pending_blank_ = false;
  }

  char* const start_;
  char* end_;
  bool pending_blank_ = false;
};

// The length of the AND/OR joint that starts with the ")" at `i`, without its
// closing "(", or 0. A joint is ")OR(", ") OR(" or ")OR (", or the same with
// AND, in any letter case; the word goes to `word`.
size_t JointAt(std::string_view line, size_t i, std::string_view* word) {
  size_t j = i + 1;
  const bool blank_before = j < line.size() && line[j] == ' ';
  if (blank_before) ++j;
  for (std::string_view candidate : {std::string_view("OR"), std::string_view("AND")}) {
    if (j + candidate.size() > line.size()) continue;
    if (!SameTextNoCase(line.substr(j, candidate.size()), candidate)) continue;
    size_t k = j + candidate.size();
    const bool blank_after = k < line.size() && line[k] == ' ';
    if (blank_after) ++k;
    if (blank_before && blank_after) return 0;
    if (k >= line.size() || line[k] != '(') return 0;
    *word = candidate;
    return k - i;
  }
  return 0;
}

// The bytes that the scan outside literals must look at; runs of other bytes
// are copied as they are.
constexpr std::array<bool, 256> kSpecialOutside = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view(" <>=*/,;)\"'")) table[c] = true;
  for (char c : {kGreaterEqualMark, kLessEqualMark, kNotEqualMark, kEqualEqualMark}) {
    table[static_cast<unsigned char>(c)] = true;
  }
  return table;
}();

// Inside a literal only a quote character or the first ";" matters.
constexpr std::array<bool, 256> kSpecialInside = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("\"';")) table[c] = true;
  return table;
}();

}  // namespace

size_t SpaceOperators(std::string_view line, char* out) {
  SpacedLineWriter writer(out);
  // Each quote character is counted by itself; a byte lies in a literal while
  // either count, the byte itself included, is odd.
  bool double_quotes = false;
  bool apostrophes = false;
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    const bool in_literal = double_quotes || apostrophes;
    i = writer.CopyRun(line, i, in_literal ? kSpecialInside : kSpecialOutside);
    if (i >= n) break;
    const char c = line[i];
    if (c == '"' || c == '\'') {
      double_quotes ^= (c == '"');
      apostrophes ^= (c == '\'');
      writer.Byte(c);
      ++i;
      continue;
    }
    if (c == ';') {
      // The first ";" opens the comment: it gains a blank in front unless it
      // stands in a literal, and nothing behind it ever changes.
      if (!in_literal) writer.Blank();
      writer.Text(line.substr(i));
      break;
    }
    const char next = i + 1 < n ? line[i + 1] : '\0';
    std::string_view joint_word;
    switch (c) {
      case ' ':
        writer.Blank();
        while (i + 1 < n && line[i + 1] == ' ') ++i;
        break;
      case '>':
        if (next == '=') {
          writer.Operator(">=");
          ++i;
        } else {
          writer.Operator(">");
        }
        break;
      case '<':
        // "<>=" is "<" followed by ">=": the ">=" is claimed first.
        if (next == '=') {
          writer.Operator("<=");
          ++i;
        } else if (next == '>' && !(i + 2 < n && line[i + 2] == '=')) {
          writer.Operator("<>");
          ++i;
        } else {
          writer.Operator("<");
        }
        break;
      case '=':
        if (next == '=') {
          writer.Operator("==");
          ++i;
        } else {
          writer.Operator("=");
        }
        break;
      case '*':
        writer.Operator("*");
        break;
      case '/':
        writer.Operator("/");
        break;
      case kGreaterEqualMark:
        writer.Operator(">=");
        break;
      case kLessEqualMark:
        writer.Operator("<=");
        break;
      case kNotEqualMark:
        writer.Operator("<>");
        break;
      case kEqualEqualMark:
        writer.Operator("==");
        break;
      case ',':
        writer.Byte(',');
        writer.Blank();
        break;
      case ')':
        if (const size_t length = JointAt(line, i, &joint_word); length != 0) {
          writer.Byte(')');
          writer.Operator(joint_word);
          i += length;  // the "(" is written next, after the pending blank
          continue;
        }
        writer.Byte(')');
        break;
      default:
        writer.Byte(c);
        break;
    }
    ++i;
  }
  return writer.Finish();
}

}  // namespace vornette
