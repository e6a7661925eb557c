// A short word in upper case packed into two numbers, so that looking a word
// up in a table of keywords costs a few integer comparisons.
#ifndef VORNETTE_BASIC_PACKED_WORD_H_
#define VORNETTE_BASIC_PACKED_WORD_H_

#include <cstdint>
#include <string_view>

#include "basic/basic.h"
#include "basic/byte_scan.h"

namespace vornette {

struct PackedWord {
  static constexpr size_t kMaxLength = 16;

  uint64_t low = 0;
  uint64_t high = 0;

  bool operator==(const PackedWord&) const = default;

  // A number made from the whole word, for hash tables.
  uint64_t Hash() const {
    const uint64_t mixed = low * 0x9E3779B97F4A7C15u ^ high * 0xC2B2AE3D27D4EB4Fu;
    return mixed ^ (mixed >> 29);
  }
};

// `word` (at most kMaxLength bytes) in upper case, packed. Words that differ
// in length differ when packed, as no word holds a NUL byte. The numbers are
// built in registers: writing the bytes to memory and reading them back as
// numbers would stall the processor on every word.
inline PackedWord PackUpper(std::string_view word) {
  PackedWord packed;
  for (size_t i = 0; i < word.size(); ++i) {
    const uint64_t byte = static_cast<unsigned char>(ToUpperAscii(word[i]));
    if (i < 8) {
      packed.low |= byte << (8 * i);
    } else {
      packed.high |= byte << (8 * (i - 8));
    }
  }
  return packed;
}

// Bytes 0 to `length` - 1 of two words set, the rest clear.
struct WordMasks {
  uint64_t low;
  uint64_t high;
};
inline WordMasks FirstBytes(size_t length) {
  const uint64_t all = ~uint64_t{0};
  return {length >= 8 ? all : (uint64_t{1} << (8 * length)) - 1,
          length <= 8    ? 0
          : length >= 16 ? all
                         : (uint64_t{1} << (8 * (length - 8))) - 1};
}

// PackUpper of the `length` bytes at `p`, which may read (but not use) the
// bytes up to p[15]: the caller makes sure they exist.
inline PackedWord PackUpperWide(const char* p, size_t length) {
  const WordMasks masks = FirstBytes(length);
  const uint64_t low = LoadWord(p);
  const uint64_t high = LoadWord(p + 8);
  PackedWord packed;
  packed.low = (low ^ (BytesBetween(low, 'a', 'z') >> 2)) & masks.low;
  packed.high = (high ^ (BytesBetween(high, 'a', 'z') >> 2)) & masks.high;
  return packed;
}

}  // namespace vornette

#endif  // VORNETTE_BASIC_PACKED_WORD_H_
