// An INI lookup that answers as the Windows private-profile lookup does, so
// that one Vornette.ini gives the same settings on every platform.
#ifndef VORNETTE_CONFIG_PRIVATE_PROFILE_H_
#define VORNETTE_CONFIG_PRIVATE_PROFILE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vornette {

// The longest value text a lookup delivers; longer values are cut.
inline constexpr size_t kMaxProfileValueLength = 2047;

// Looks up `key` in `section` of the INI text `ini_bytes` (the whole file, as
// read) and returns its value text, or `default_text` when the section or key
// is missing. Section and key names ignore ASCII case; blanks, TABs, VT, FF
// and 0x1A around names and values are trimmed; one pair of matching quotes
// around a value is removed; only the first matching section and the first
// matching key line count; a UTF-8 or UTF-16LE byte-order mark is honoured.
std::string LookUpProfileString(std::string_view ini_bytes, std::string_view section,
                                std::string_view key, std::string_view default_text);

}  // namespace vornette

#endif  // VORNETTE_CONFIG_PRIVATE_PROFILE_H_
