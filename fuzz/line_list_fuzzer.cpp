// The cutting of a file's bytes into lines, and the writing format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formatter/line_list.h"
#include "fuzz/fuzz_check.h"
#include "reference/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  if (size < 1) return 0;
  // The first byte says how much room comes behind the bytes: with enough,
  // line ends widen in place; with too little, part of them is copied.
  const size_t room = data[0] & 1 ? size : data[0] % 8;
  // The next bits choose the line ends of the writing format.
  const auto ending = static_cast<LineEndingMode>((data[0] >> 3) % 3);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  ByteBuffer buffer;
  buffer.Reserve(bytes.size() + room);
  buffer.Append(bytes);
  LineList list;
  if (!CutIntoLines(std::move(buffer), &list, ending)) {
    FUZZ_CHECK(bytes.find('\0') != std::string::npos);
    FUZZ_CHECK(list.empty());
    return 0;
  }
  // One line per line end, plus the bytes after the last one.
  size_t ends = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n'))) {
      ++ends;
    }
  }
  const bool open_last = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
  const std::vector<std::string> lines = reference::LinesOf(list);
  FUZZ_CHECK(lines == reference::CutLines(bytes));
  FUZZ_CHECK(lines.size() == ends + (open_last ? 1 : 0));
  FUZZ_CHECK(list.size() == lines.size());

  const std::string written = reference::TextOf(list);
  std::string without_ends;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    without_ends += line;
  }
  FUZZ_CHECK(written == reference::WriteLines(lines, bytes, ending));
  // The lines hold every byte but the line ends.
  std::string stripped;
  for (char c : bytes) {
    if (c != '\r' && c != '\n') stripped.push_back(c);
  }
  FUZZ_CHECK(stripped == without_ends);
  // Cutting the written text again gives the same lines.
  FUZZ_CHECK(reference::LinesOf(reference::ListOf(written)) == lines);
  return 0;
}
