#include "formatter/assignments.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vornette {
namespace {

// For every byte: 1 when it may begin a name, 2 when it may stand in one.
constexpr std::array<uint8_t, 256> kNameBytes = [] {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
    table[c] = (letter ? 1 : 0) | (letter || (c >= '0' && c <= '9') ? 2 : 0);
  }
  return table;
}();

inline uint8_t NameByte(char c) { return kNameBytes[static_cast<unsigned char>(c)]; }

// The end of the name that begins at `at`, or `at` when none begins there.
inline size_t NameEnd(std::string_view code, size_t at) {
  if (at >= code.size() || !(NameByte(code[at]) & 1)) return at;
  ++at;
  while (at < code.size() && (NameByte(code[at]) & 2)) ++at;
  return at;
}

// The end of the selector that begins at `at`, or `at` when none does.
size_t SelectorEnd(std::string_view code, size_t at) {
  if (at >= code.size()) return at;
  if (code[at] == '.') {
    const size_t end = NameEnd(code, at + 1);
    return end == at + 1 ? at : end;
  }
  if (code[at] != '[') return at;
  for (size_t i = at + 1; i < code.size(); ++i) {
    switch (code[i]) {
      case ']':
        return i + 1;
      case '[':
      case ';':
      case '"':
      case '\'':
      case '=':
        return at;
    }
  }
  return at;
}

size_t LeadingBlanks(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && text[n] == ' ') ++n;
  return n;
}

}  // namespace

std::optional<Assignment> FindAssignment(std::string_view code) {
  size_t end = NameEnd(code, 0);
  if (end == 0) return std::nullopt;
  for (size_t next; (next = SelectorEnd(code, end)) != end;) end = next;
  size_t equals = end;
  while (equals < code.size() && (code[equals] == ' ' || code[equals] == '\t')) ++equals;
  if (equals >= code.size() || code[equals] != '=') return std::nullopt;
  if (equals + 1 < code.size() && code[equals + 1] == '=') return std::nullopt;
  return Assignment{end, equals};
}

bool AssignmentAligner::RunTracker::Starts(size_t leading_blanks,
                                           const std::optional<Assignment>& assignment) {
  if (!assignment) {
    open = false;
    return false;
  }
  const bool starts = !open || leading_blanks != leading;
  open = true;
  leading = leading_blanks;
  return starts;
}

void AssignmentAligner::CloseRun() {
  if (lines_ > 0) widths_.push_back(lines_ >= 2 ? longest_ : kNoRun);
  lines_ = 0;
  longest_ = 0;
}

void AssignmentAligner::Observe(size_t blanks, std::string_view text) {
  const std::optional<Assignment> assignment = FindAssignment(text);
  if (observed_.Starts(blanks, assignment) || !assignment) CloseRun();
  if (!assignment) return;
  ++lines_;
  longest_ = std::max(longest_, assignment->target_length);
}

IndentedLine AssignmentAligner::Align(std::string_view line) {
  // The first call closes the last run observed; later calls find none open.
  CloseRun();
  const size_t leading = LeadingBlanks(line);
  const std::string_view code = line.substr(leading);
  const std::optional<Assignment> assignment = FindAssignment(code);
  if (aligned_.Starts(leading, assignment)) {
    width_ = next_width_ < widths_.size() ? widths_[next_width_++] : kNoRun;
  }
  if (!assignment || width_ == kNoRun) return {0, line};
  line_.assign(code.substr(0, assignment->target_length));
  line_.append(width_ + 1 - assignment->target_length, ' ');
  line_.append(code.substr(assignment->equals));
  return {leading, line_};
}

}  // namespace vornette
