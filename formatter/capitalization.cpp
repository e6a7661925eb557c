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
        starts_[static_cast<unsigned char>(ToUpperAscii(word[0]))] = true;
        starts_[static_cast<unsigned char>(ToLowerAscii(word[0]))] = true;
      }
    }
  }

  // False when no keyword begins with `c`: most words of a program (numbers,
  // names) are passed over on their first byte.
  bool MayStart(char c) const { return starts_[static_cast<unsigned char>(c)]; }

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
  bool starts_[256] = {};
};

const KeywordIndex& TheKeywordIndex() {
  static const KeywordIndex index;
  return index;
}

// Calls `recase(begin, end)` for every word of `line` (a maximal run of
// non-separators) that starts outside comments and string literals.
template <typename Recase>
void ForEachUnprotectedWord(std::string& line, Recase recase) {
  bool double_quotes = false;
  bool apostrophes = false;
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    const char c = line[i];
    if (IsSeparator(c)) {
      double_quotes ^= (c == '"');
      apostrophes ^= (c == '\'');
      ++i;
      continue;
    }
    // ";" is no separator, so the first one lies in a word; the words after
    // that one lie in the comment.
    bool semicolon = false;
    size_t end = i;
    for (; end < n && !IsSeparator(line[end]); ++end) semicolon |= line[end] == ';';
    if (!double_quotes && !apostrophes) recase(i, end);
    if (semicolon) return;
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
    if (length > kLongestKeyword || !index.MayStart(line[begin])) return;
    for (size_t i = 0; i < length; ++i) upper[i] = ToUpperAscii(line[begin + i]);
    const auto category = index.Find(std::string_view(upper, length));
    if (category) Recase(line, begin, end, modes[static_cast<size_t>(*category)]);
  });
}

}  // namespace vornette
