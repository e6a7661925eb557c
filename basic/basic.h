// Text helpers shared by every part of the program.
//
// Text is handled as bytes. Case mapping touches only the ASCII letters, so a
// file formats to the same bytes on every machine, whatever its locale.
#ifndef VORNETTE_BASIC_BASIC_H_
#define VORNETTE_BASIC_BASIC_H_

#include <string>
#include <string_view>

namespace vornette {

// The UTF-8 byte-order mark, which a file may begin with.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Maps a to z onto A to Z; every other byte is returned unchanged.
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Maps A to Z onto a to z; every other byte is returned unchanged.
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// True when both texts, mapped to upper case, are equal byte for byte. Texts of
// different length are never equal.
bool SameTextNoCase(std::string_view a, std::string_view b);

// Replaces each "%s" of `format`, from the left, by the next of `args`. The
// arguments are inserted as they are and never searched again.
std::string Substitute(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace vornette

#endif  // VORNETTE_BASIC_BASIC_H_
