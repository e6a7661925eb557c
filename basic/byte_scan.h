// Finding line ends in long runs of text quickly and portably: eight bytes
// are tested at a time with plain 64-bit arithmetic, and the bytes found come
// out as bits of a mask.
#ifndef VORNETTE_BASIC_BYTE_SCAN_H_
#define VORNETTE_BASIC_BYTE_SCAN_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vornette {

inline constexpr uint64_t kEveryByte = 0x0101010101010101u;

// The eight bytes at `p`, the first in the lowest bits.
inline uint64_t LoadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// Stores `word` as the eight bytes at `p`, the lowest bits first.
inline void StoreWord(char* p, uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  std::memcpy(p, &word, 8);
}

// A mask with the high bit of every byte of `word` that equals `c` set, and
// no other bit.
inline uint64_t BytesEqual(uint64_t word, char c) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  const uint64_t x = word ^ (kEveryByte * static_cast<unsigned char>(c));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// A mask with the high bit of every byte of `word` that lies between `low`
// and `high` (both below 0x80) set, and no other bit.
inline uint64_t BytesBetween(uint64_t word, unsigned char low, unsigned char high) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  const uint64_t low7 = word & kLow7;
  const uint64_t at_least_low = low7 + kEveryByte * (0x80 - low);
  const uint64_t above_high = low7 + kEveryByte * (0x7F - high);
  return at_least_low & ~above_high & ~word & ~kLow7;
}

// True when one of the `n` bytes at `p` lies between `low` and `high`.
inline bool HasByteBetween(const char* p, size_t n, unsigned char low, unsigned char high) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (BytesBetween(LoadWord(p + i), low, high)) return true;
  }
  for (; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (c >= low && c <= high) return true;
  }
  return false;
}

// The index of the first byte equal to `c` among the `n` bytes at `p`, or
// `n` when there is none.
inline size_t FindByte(const char* p, size_t n, char c) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (const uint64_t mask = BytesEqual(LoadWord(p + i), c)) {
      return i + static_cast<size_t>(std::countr_zero(mask)) / 8;
    }
  }
  for (; i < n; ++i) {
    if (p[i] == c) return i;
  }
  return n;
}

// The index of the first CR or LF among the `n` bytes at `p`, or `n` when
// there is none. A string's find_first_of tests each byte against the set
// in a call of its own, which costs more than formatting the line.
inline size_t FindLineEnd(const char* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t word = LoadWord(p + i);
    if (const uint64_t mask = BytesEqual(word, '\r') | BytesEqual(word, '\n')) {
      return i + static_cast<size_t>(std::countr_zero(mask)) / 8;
    }
  }
  for (; i < n; ++i) {
    if (p[i] == '\r' || p[i] == '\n') return i;
  }
  return n;
}

// Where the first CR or LF at or after `from` stands in `text`; its size
// when there is none.
inline size_t LineEndFrom(std::string_view text, size_t from) {
  return from + FindLineEnd(text.data() + from, text.size() - from);
}

// Where the line after the line end at `end` of `text` begins: behind its
// CR LF, lone CR or LF; `end` itself when that is the end of the text.
inline size_t NextLineStart(std::string_view text, size_t end) {
  if (end == text.size()) return end;
  return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

}  // namespace vornette

#endif  // VORNETTE_BASIC_BYTE_SCAN_H_
