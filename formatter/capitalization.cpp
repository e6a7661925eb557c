#include "formatter/capitalization.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "basic/basic.h"
#include "basic/byte_scan.h"
#include "basic/packed_word.h"
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
        const PackedWord packed = PackUpper(word);
        size_t slot = packed.Hash() & kMask;
        while (slots_[slot].category != kEmpty) slot = (slot + 1) & kMask;
        slots_[slot] = {packed, static_cast<uint8_t>(c)};
        for (char first : {ToUpperAscii(word[0]), ToLowerAscii(word[0])}) {
          lengths_[static_cast<unsigned char>(first)] |= uint16_t{1} << word.size();
        }
      }
    }
  }

  // False when no keyword of this length begins with `first`: most words of
  // a program (numbers, names) are passed over without a lookup.
  bool MayBe(char first, size_t length) const {
    return (lengths_[static_cast<unsigned char>(first)] >> length) & 1;
  }

  // The category of `word` (at most kLongestKeyword bytes), if it is a keyword.
  std::optional<KeywordCategory> Find(std::string_view word) const { return Find(PackUpper(word)); }
  std::optional<KeywordCategory> Find(const PackedWord& packed) const {
    for (size_t slot = packed.Hash() & kMask; slots_[slot].category != kEmpty;
         slot = (slot + 1) & kMask) {
      if (slots_[slot].word == packed) return static_cast<KeywordCategory>(slots_[slot].category);
    }
    return std::nullopt;
  }

 private:
  static constexpr size_t kSlots = 512;
  static constexpr size_t kMask = kSlots - 1;
  static constexpr uint8_t kEmpty = 0xFF;
  struct Slot {
    PackedWord word;
    uint8_t category = kEmpty;
  };

  Slot slots_[kSlots];
  // For every first byte, a bit for every length of keyword beginning with it.
  uint16_t lengths_[256] = {};
};

const KeywordIndex& TheKeywordIndex() {
  static const KeywordIndex index;
  return index;
}

// How the word scan sees a byte: part of a word (a ";" being marked, as
// words after the first one lie in the comment), a separator, or a quote
// character (a separator too), whose bit flips the literal state.
constexpr uint8_t kWordByte = 0;
constexpr uint8_t kDoubleQuote = 1;
constexpr uint8_t kApostrophe = 2;
constexpr uint8_t kOtherSeparator = 4;
constexpr uint8_t kSeparatorBits = kDoubleQuote | kApostrophe | kOtherSeparator;
constexpr uint8_t kSemicolon = 8;
constexpr std::array<uint8_t, 256> kByteKinds = [] {
  std::array<uint8_t, 256> kinds{};
  for (unsigned c = 0; c < 256; ++c) {
    kinds[c] = internal::kSeparatorTable[c] ? kOtherSeparator : kWordByte;
  }
  kinds['"'] = kDoubleQuote;
  kinds['\''] = kApostrophe;
  kinds[';'] = kSemicolon;
  return kinds;
}();

// Calls `recase(begin, end)` for every word of `line` (a maximal run of
// non-separators) that starts outside comments and string literals.
template <typename Recase>
void ForEachUnprotectedWord(std::span<const char> line, Recase recase) {
  const size_t n = line.size();
  unsigned quotes = 0;  // a bit per quote character, set while its count is odd
  size_t i = 0;
  while (true) {
    uint8_t kind;
    while (i < n && ((kind = kByteKinds[static_cast<unsigned char>(line[i])]) & kSeparatorBits)) {
      quotes ^= kind & (kDoubleQuote | kApostrophe);
      ++i;
    }
    if (i >= n) return;
    const size_t begin = i;
    uint8_t kinds_in_word = 0;
    while (i < n && !((kind = kByteKinds[static_cast<unsigned char>(line[i])]) & kSeparatorBits)) {
      kinds_in_word |= kind;
      ++i;
    }
    if (quotes == 0) recase(begin, i);
    // ";" is no separator, so the first one lies in a word; every word after
    // that one lies in the comment.
    if (kinds_in_word & kSemicolon) return;
  }
}

// Recase of a word that has 16 bytes of the line from its start on: the
// bytes are changed eight at a time.
void RecaseWide(std::span<char> line, size_t begin, size_t end, CapitalizationMode mode) {
  if (mode != CapitalizationMode::UpperCase && mode != CapitalizationMode::LowerCase) return;
  const bool upper = mode == CapitalizationMode::UpperCase;
  const WordMasks masks = FirstBytes(end - begin);
  char* p = line.data() + begin;
  for (const auto& [offset, mask] : {std::pair{0, masks.low}, std::pair{8, masks.high}}) {
    const uint64_t word = LoadWord(p + offset);
    const uint64_t flip =
        (upper ? BytesBetween(word, 'a', 'z') : BytesBetween(word, 'A', 'Z')) >> 2;
    StoreWord(p + offset, word ^ (flip & mask));
  }
}

void Recase(std::span<char> line, size_t begin, size_t end, CapitalizationMode mode) {
  if (mode == CapitalizationMode::UpperCase) {
    for (size_t i = begin; i < end; ++i) line[i] = ToUpperAscii(line[i]);
  } else if (mode == CapitalizationMode::LowerCase) {
    for (size_t i = begin; i < end; ++i) line[i] = ToLowerAscii(line[i]);
  }
}

}  // namespace

void ApplyCapitalizations(std::span<char> line,
                          const std::array<CapitalizationMode, kKeywordCategoryCount>& modes) {
  // Recasing to upper case changes nothing in a line without lower-case
  // letters, and the other way round: most lines of many programs are
  // written in one case already, and are passed over at a glance.
  bool upper_wanted = false;
  bool lower_wanted = false;
  for (CapitalizationMode mode : modes) {
    upper_wanted = upper_wanted || mode == CapitalizationMode::UpperCase;
    lower_wanted = lower_wanted || mode == CapitalizationMode::LowerCase;
  }
  if (!(upper_wanted && HasByteBetween(line.data(), line.size(), 'a', 'z')) &&
      !(lower_wanted && HasByteBetween(line.data(), line.size(), 'A', 'Z'))) {
    return;
  }
  const KeywordIndex& index = TheKeywordIndex();
  ForEachUnprotectedWord(line, [&](size_t begin, size_t end) {
    const size_t length = end - begin;
    if (length > kLongestKeyword || !index.MayBe(line[begin], length)) return;
    // Most words have 16 bytes of the line behind their start, and are then
    // looked up and recased eight bytes at a time.
    const bool wide = line.size() - begin >= PackedWord::kMaxLength;
    const auto category = wide ? index.Find(PackUpperWide(line.data() + begin, length))
                               : index.Find(std::string_view(line.data() + begin, length));
    if (!category) return;
    const CapitalizationMode mode = modes[static_cast<size_t>(*category)];
    if (wide) {
      RecaseWide(line, begin, end, mode);
    } else {
      Recase(line, begin, end, mode);
    }
  });
}

}  // namespace vornette
