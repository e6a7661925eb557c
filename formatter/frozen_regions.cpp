#include "formatter/frozen_regions.h"

#include "basic/basic.h"
#include "formatter/indent.h"

namespace vornette {
namespace {

// True when `text` begins with `word` (in any letter case) and the byte
// after it, if any, is no letter, digit or "_".
bool BeginsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size() || !SameTextNoCase(text.substr(0, word.size()), word)) {
    return false;
  }
  if (text.size() == word.size()) return true;
  const char next = ToUpperAscii(text[word.size()]);
  return !((next >= 'A' && next <= 'Z') || (next >= '0' && next <= '9') || next == '_');
}

}  // namespace

Marker MarkerOf(std::string_view line) {
  line = SkipBlanksAndTabs(line);
  // Most lines are code, and most comments begin otherwise: one look each.
  if (line.empty() || line.front() != ';') return Marker::kNone;
  line = SkipBlanksAndTabs(line.substr(1));
  constexpr std::string_view kName = "vornette:";
  if (line.size() < kName.size() || !SameTextNoCase(line.substr(0, kName.size()), kName)) {
    return Marker::kNone;
  }
  line = SkipBlanksAndTabs(line.substr(kName.size()));
  if (BeginsWithWord(line, "off")) return Marker::kOff;
  return BeginsWithWord(line, "on") ? Marker::kOn : Marker::kNone;
}

}  // namespace vornette
