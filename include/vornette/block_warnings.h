// Where a program's blocks do not pair up, and where the indentation does
// not read a block word as one: what CheckBlocks finds.
#ifndef VORNETTE_VORNETTE_BLOCK_WARNINGS_H_
#define VORNETTE_VORNETTE_BLOCK_WARNINGS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vornette {

// The kinds of warning, numbered as users see them.
enum class BlockWarningKind : uint8_t {
  kClosesNothing = 1,       // "WORD closes no open block"
  kNotClosedBefore = 2,     // "WORD is not closed before CLOSER on line N"
  kNeverClosed = 3,         // "WORD is never closed"
  kOutside = 4,             // "WORD outside IF", "... outside SWITCH", "... outside TIME_BLOCK"
  kNotIndentedAsBlock = 5,  // the indentation reads the word as another or as none
};

// Where a block word stands: its line (from 1), its column (its byte offset
// in the line as stored, byte-order mark included, plus 1), its byte offset
// from the start of the text, and its length in bytes (a two-word form from
// its first word's first byte to its second word's last).
struct TextSpan {
  size_t line = 0;
  size_t column = 0;
  size_t offset = 0;
  size_t length = 0;
};

struct BlockWarning {
  TextSpan at;
  BlockWarningKind kind = BlockWarningKind::kClosesNothing;
  std::string text;
  // For kNotClosedBefore: the closing word that cut the block short.
  std::optional<TextSpan> closer;
};

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_BLOCK_WARNINGS_H_
