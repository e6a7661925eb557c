#include "formatter/line_list.h"

#include <gtest/gtest.h>

#include <tuple>

#include "reference/reference.h"

namespace vornette {
namespace {

// The lines of `bytes` read with `room` bytes of memory behind them: without
// room they are copied, with room the line ends widen in place.
LineList Cut(std::string_view bytes, size_t room, LineEndingMode ending = LineEndingMode::CRLF) {
  ByteBuffer buffer;
  buffer.Reserve(bytes.size() + room);
  buffer.Append(bytes);
  LineList list;
  EXPECT_TRUE(CutIntoLines(std::move(buffer), &list, ending));
  return list;
}

TEST(CutIntoLinesTest, LineEnds) {
  constexpr auto CRLF = LineEndingMode::CRLF, LF = LineEndingMode::LF, Auto = LineEndingMode::Auto;
  // The bytes, the setting, and the lines in the writing format.
  // clang-format off
  const std::tuple<std::string_view, LineEndingMode, std::string_view> cases[] = {
      {"", CRLF, ""}, {"a\r\nb\r\n", CRLF, "a\r\nb\r\n"}, {"a\nb\n", CRLF, "a\r\nb\r\n"},
      {"a\rb\r", CRLF, "a\r\nb\r\n"}, {"a\n\rb", CRLF, "a\r\n\r\nb\r\n"}, {"\n\n\r\n\r", CRLF, "\r\n\r\n\r\n\r\n"},
      {"a\r\nb\nc\rd", CRLF, "a\r\nb\r\nc\r\nd\r\n"}, {"\xEF\xBB\xBFx\n", CRLF, "\xEF\xBB\xBFx\r\n"},
      {"a\r\r\nb", CRLF, "a\r\n\r\nb\r\n"}, {"\xE9\xF0\xFF\n", CRLF, "\xE9\xF0\xFF\r\n"},
      {"first line\nsecond\r\r\nthird\rfourth\n\rfifth", CRLF,
       "first line\r\nsecond\r\n\r\nthird\r\nfourth\r\n\r\nfifth\r\n"},
      {"a\r\nb\rc", LF, "a\nb\nc\n"}, {"a\n\rb\r\r\n", LF, "a\n\nb\n\n"}, {"", LF, ""}, {"ab", LF, "ab\n"},
      // Auto: every line ends as the first; the last only where the file's did.
      {"a\nb\r\nc\rd\n", Auto, "a\nb\nc\nd\n"}, {"a\nb", Auto, "a\nb"}, {"a\r\nb\nc", Auto, "a\r\nb\r\nc"},
      {"a\rb\n", Auto, "a\r\nb\r\n"}, {"a\rb", Auto, "a\r\nb"}, {"abc", Auto, "abc"}, {"", Auto, ""},
      {"\n", Auto, "\n"}, {"\r", Auto, "\r\n"}, {"a\n\r", Auto, "a\n\n"}, {"x\n\n", Auto, "x\n\n"}};
  // clang-format on
  for (const auto& [bytes, ending, written] : cases) {
    for (size_t room : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, bytes.size() + 2}) {
      const LineList list = Cut(bytes, room, ending);
      EXPECT_EQ(reference::TextOf(list), written) << bytes << " " << room;
      EXPECT_EQ(list.size(), reference::CutLines(bytes).size());
    }
  }
}

// Lines that shrink, keep their length and grow come out in order, whether
// they fit where the old lines were or not, also across blocks and with a
// line longer than a block.
TEST(RewriteLinesTest, InPlaceSpilledAndAcrossBlocks) {
  struct Rewritten {
    size_t blanks;
    std::string_view text;
  };
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(std::string(i % 7, ' ') + std::to_string(i));
  lines[7] = std::string(LineList::kBlockSize + 10, 'x');
  std::string text;
  std::vector<std::string> expected;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += lines[i] + "\n";
    expected.push_back(std::string(i % 5 * 3, ' ') + lines[i].substr(i % 7 == 0 ? 0 : i % 7));
  }
  for (size_t room : {text.size(), size_t{0}, size_t{40}}) {
    LineList list = Cut(text, room);
    size_t i = 0;
    list.RewriteLines([&](std::string_view line) {
      const size_t k = i++;
      return Rewritten{k % 5 * 3, line.substr(k == 7 ? 0 : k % 7)};
    });
    EXPECT_EQ(reference::LinesOf(list), expected) << room;
    EXPECT_EQ(list.size(), expected.size());
  }
}

}  // namespace
}  // namespace vornette
