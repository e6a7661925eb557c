// Positions in a document as the protocol counts them: a line, counted from
// 0, and a character offset in that line, counted in UTF-16 code units or in
// UTF-8 bytes, whichever the client and the server agreed on. The server
// holds every document as UTF-8.
#ifndef VORNETTE_LANGUAGE_SERVER_POSITIONS_H_
#define VORNETTE_LANGUAGE_SERVER_POSITIONS_H_

#include <cstddef>
#include <string_view>

namespace vornette {

enum class PositionEncoding { kUtf16, kUtf8 };

struct Position {
  size_t line = 0;
  size_t character = 0;
};

// The length of the UTF-8 text `text` in the units of `encoding`.
size_t UnitsOf(std::string_view text, PositionEncoding encoding);

// The byte offset of `position` in the UTF-8 text `text`, whose lines end
// with CR LF, a lone CR or a lone LF. A character past its line's end stands
// for the line's end, one inside a character for that character's start.
// False when the line is past the last line.
bool OffsetOf(std::string_view text, Position position, PositionEncoding encoding, size_t* offset);

// True when `text` is well-formed UTF-8: no stray continuation byte, no
// sequence cut short, too long, beyond U+10FFFF or a surrogate.
bool IsValidUtf8(std::string_view text);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_POSITIONS_H_
