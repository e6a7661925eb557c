#include "formatter/capitalization.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "basic/basic.h"
#include "formatter/indent.h"
#include "formatter/word_tables.h"

namespace vornette {
namespace {

// No table word is longer than this, so longer words are never looked up.
constexpr size_t kLongestKeyword = 11;

// Every word of the eight tables, in upper case, with its category: an
// open-addressing hash table, built once.
class KeywordIndex {
 public:
  KeywordIndex() {
    for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
      for (std::string_view word : WordTableOf(static_cast<KeywordCategory>(c))) {
        const std::string upper = UpperCase(word);
        size_t slot = Hash(upper) & kMask;
        while (slots_[slot].length != 0) slot = (slot + 1) & kMask;
        slots_[slot].length = static_cast<uint8_t>(upper.size());
        slots_[slot].category = static_cast<uint8_t>(c);
        upper.copy(slots_[slot].word, upper.size());
      }
    }
  }

  // The category of `upper_word` (already in upper case), if it is a keyword.
  std::optional<KeywordCategory> Find(std::string_view upper_word) const {
    for (size_t slot = Hash(upper_word) & kMask; slots_[slot].length != 0;
         slot = (slot + 1) & kMask) {
      const Slot& s = slots_[slot];
      if (std::string_view(s.word, s.length) == upper_word) {
        return static_cast<KeywordCategory>(s.category);
      }
    }
    return std::nullopt;
  }

 private:
  static constexpr size_t kSlots = 512;
  static constexpr size_t kMask = kSlots - 1;
  struct Slot {
    char word[kLongestKeyword] = {};
    uint8_t length = 0;
    uint8_t category = 0;
  };

  static size_t Hash(std::string_view word) {
    uint32_t h = 2166136261u;
    for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h ^ (h >> 15);
  }

  Slot slots_[kSlots];
};

const KeywordIndex& TheKeywordIndex() {
  static const KeywordIndex index;
  return index;
}

// Calls `recase(begin, end)` for every word of `line` (a maximal run of
// non-separators) that starts outside comments and string literals.
template <typename Recase>
void ForEachUnprotectedWord(std::string& line, Recase recase) {
  const size_t first_semicolon = line.find(';');
  const size_t n = first_semicolon == std::string::npos ? line.size() : first_semicolon + 1;
  bool double_quotes = false;
  bool apostrophes = false;
  size_t i = 0;
  while (i < n) {
    const char c = line[i];
    if (IsSeparator(c)) {
      double_quotes ^= (c == '"');
      apostrophes ^= (c == '\'');
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    if (!double_quotes && !apostrophes) recase(i, end);
    i = end;
  }
}

void Recase(std::string& line, size_t begin, size_t end, CapitalizationMode mode) {
  if (mode == CapitalizationMode::UpperCase) {
    for (size_t i = begin; i < end; ++i) line[i] = ToUpperAscii(line[i]);
  } else if (mode == CapitalizationMode::LowerCase) {
    for (size_t i = begin; i < end; ++i) line[i] = ToLowerAscii(line[i]);
  }
}

}  // namespace

std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode) {
  std::string result(line);
  if (mode != CapitalizationMode::UpperCase && mode != CapitalizationMode::LowerCase) {
    return result;
  }
  ForEachUnprotectedWord(result, [&](size_t begin, size_t end) {
    if (IsInList(std::string_view(result).substr(begin, end - begin), table)) {
      Recase(result, begin, end, mode);
    }
  });
  return result;
}

void ApplyAllCapitalizations(std::string& line,
                             const std::array<CapitalizationMode, kKeywordCategoryCount>& modes) {
  const KeywordIndex& index = TheKeywordIndex();
  char upper[kLongestKeyword];
  ForEachUnprotectedWord(line, [&](size_t begin, size_t end) {
    const size_t length = end - begin;
    if (length > kLongestKeyword) return;
    for (size_t i = 0; i < length; ++i) upper[i] = ToUpperAscii(line[begin + i]);
    const auto category = index.Find(std::string_view(upper, length));
    if (category) Recase(line, begin, end, modes[static_cast<size_t>(*category)]);
  });
}

}  // namespace vornette
