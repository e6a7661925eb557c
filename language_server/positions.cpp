#include "language_server/positions.h"

#include <algorithm>

#include "basic/byte_scan.h"

namespace vornette {
namespace {

// How many UTF-16 code units the character that begins with `lead` takes;
// continuation bytes take none.
size_t Utf16UnitsOfLead(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC0) return 0;
  return lead < 0xF0 ? 1 : 2;
}

}  // namespace

size_t UnitsOf(std::string_view text, PositionEncoding encoding) {
  if (encoding == PositionEncoding::kUtf8) return text.size();
  size_t units = 0;
  for (char c : text) units += Utf16UnitsOfLead(static_cast<unsigned char>(c));
  return units;
}

bool OffsetOf(std::string_view text, Position position, PositionEncoding encoding, size_t* offset) {
  size_t start = 0;
  for (size_t line = 0; line < position.line; ++line) {
    const size_t end = LineEndFrom(text, start);
    if (end == text.size()) return false;
    start = NextLineStart(text, end);
  }
  const size_t end = LineEndFrom(text, start);
  size_t at = start;
  if (encoding == PositionEncoding::kUtf8) {
    at = start + std::min(position.character, end - start);
    while (at > start && at < end && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  } else {
    for (size_t units = 0; at < end;) {
      size_t next = at + 1;
      while (next < end && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
      units += Utf16UnitsOfLead(static_cast<unsigned char>(text[at]));
      if (units > position.character) break;
      at = next;
    }
  }
  *offset = at;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
      ++at;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - at < length) return false;
    const unsigned char second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) return false;
    for (size_t i = 2; i < length; ++i) {
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    at += length;
  }
  return true;
}

}  // namespace vornette
