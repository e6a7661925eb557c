#include "config/private_profile.h"

#include "basic/basic.h"
#include "basic/byte_scan.h"

namespace vornette {
namespace {

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\x0B' || c == '\x0C' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A file saved as "Unicode" by Notepad is UTF-16LE. Every text this program
// asks for is ASCII, so other characters only need to stay other characters.
std::string DecodeUtf16Le(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                          (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  // A lone last byte is half a character: Windows makes it a "?" too.
  if (bytes.size() % 2 != 0) text.push_back('?');
  return text;
}

// Calls `visit` with each line of `text`; CR LF, a lone CR and a lone LF all
// end lines. Stops early when `visit` returns false.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = LineEndFrom(text, start);
    if (!visit(text.substr(start, end - start))) return;
    if (end == text.size()) return;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

std::string ValueOf(std::string_view raw) {
  const size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);
  std::string_view value = Trim(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxProfileValueLength));
}

}  // namespace

std::string LookUpProfileString(std::string_view ini_bytes, std::string_view section,
                                std::string_view key, std::string_view default_text) {
  std::string decoded;
  std::string_view text = ini_bytes;
  if (text.starts_with(kByteOrderMark)) {
    text.remove_prefix(kByteOrderMark.size());
  } else if (text.starts_with("\xFF\xFE")) {
    decoded = DecodeUtf16Le(text.substr(2));
    text = decoded;
  }
  const std::string_view wanted_section = Trim(section);
  const std::string_view wanted_key = Trim(key);

  // Lines before the first header belong to the section with the empty name.
  bool in_section = wanted_section.empty();
  bool section_seen = in_section;
  std::string result(default_text);
  ForEachLine(text, [&](std::string_view raw_line) {
    const std::string_view line = Trim(raw_line);
    const size_t close = line.starts_with('[') ? line.rfind(']') : std::string_view::npos;
    if (close != std::string_view::npos) {
      // Only the first section of a name is searched.
      if (in_section) return false;
      in_section = !section_seen && SameTextNoCase(Trim(line.substr(1, close - 1)), wanted_section);
      section_seen = section_seen || in_section;
      return true;
    }
    if (!in_section) return true;
    const size_t equals = line.find('=');
    const std::string_view name = Trim(line.substr(0, equals));
    if (!SameTextNoCase(name, wanted_key)) return true;
    // The first line naming the key decides, even one without a value.
    if (equals != std::string_view::npos) result = ValueOf(line.substr(equals + 1));
    return false;
  });
  return result;
}

}  // namespace vornette
