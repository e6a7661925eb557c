// A short word in upper case packed into two numbers, so that looking a word
// up in a table of keywords costs a few integer comparisons.
#ifndef VORNETTE_BASIC_PACKED_WORD_H_
#define VORNETTE_BASIC_PACKED_WORD_H_

#include <cstdint>
#include <string_view>

#include "basic/basic.h"

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

}  // namespace vornette

#endif  // VORNETTE_BASIC_PACKED_WORD_H_
