#include "formatter/line_list.h"

#include <gtest/gtest.h>

#include "reference/reference.h"

namespace vornette {
namespace {

TEST(CutIntoLinesTest, LineEnds) {
  // The bytes, and their lines in the writing format.
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""}, {"a\r\nb\r\n", "a\r\nb\r\n"}, {"a\nb\n", "a\r\nb\r\n"}, {"a\rb\r", "a\r\nb\r\n"},
      {"a\n\rb", "a\r\n\r\nb\r\n"}, {"a\r\nb", "a\r\nb\r\n"}, {"\n\n\r\n\r", "\r\n\r\n\r\n\r\n"},
      {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"}, {"\xEF\xBB\xBFx\n", "\xEF\xBB\xBFx\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb\r\n"}, {"\xE9\xF0\xFF\n", "\xE9\xF0\xFF\r\n"},
      {"a\rb\r\nc\n\n", "a\r\nb\r\nc\r\n\r\n"},
      {"first line\nsecond\r\r\nthird\rfourth\n\rfifth",
       "first line\r\nsecond\r\n\r\nthird\r\nfourth\r\n\r\nfifth\r\n"}};
  // clang-format on
  for (const auto& [bytes, written] : cases) {
    // Without room behind the bytes the lines are copied; with room, the
    // line ends widen in place.
    for (size_t room : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, bytes.size() + 2}) {
      ByteBuffer buffer;
      buffer.Reserve(bytes.size() + room);
      buffer.Append(bytes);
      LineList list;
      ASSERT_TRUE(CutIntoLines(std::move(buffer), &list));
      std::string text;
      for (std::string_view piece : list.WritingFormat()) text.append(piece);
      EXPECT_EQ(text, written) << room;
      EXPECT_EQ(list.size(), reference::CutLines(written).size());
    }
  }
}

TEST(CutIntoLinesTest, NulByteIsNoText) {
  LineList list = reference::ListOf("old\n");
  ByteBuffer bytes;
  bytes.Append(std::string_view("a\0b\r\n", 5));
  EXPECT_FALSE(CutIntoLines(std::move(bytes), &list));
  EXPECT_TRUE(list.empty());
}

// Rewrites line i as pattern[i % 5] blanks and the line's own text, or a
// text of its own: shrinking, keeping and growing lines come out in order,
// whether they fit in place or not.
TEST(RewriteLinesTest, InPlaceSpilledAndAcrossBlocks) {
  const size_t pattern[] = {0, 1, 3, 0, 12};
  const std::string other = "other text";
  std::vector<std::string> lines;
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    lines.push_back("line " + std::to_string(i) + std::string(i % 5, 'x'));
    text += std::string(i % 7, ' ') + lines.back() + "\n";
  }
  auto rewrite_all = [&](LineList& list) {
    size_t i = 0;
    struct Rewritten {
      size_t blanks;
      std::string_view text;
    };
    list.RewriteLines([&](std::string_view line) {
      const size_t k = i++;
      return Rewritten{pattern[k % 5], k % 11 == 0 ? other : line.substr(line.find('l'))};
    });
    std::vector<std::string> expected;
    for (size_t k = 0; k < lines.size(); ++k) {
      expected.push_back(std::string(pattern[k % 5], ' ') + (k % 11 == 0 ? other : lines[k]));
    }
    EXPECT_EQ(reference::LinesOf(list), expected);
    EXPECT_EQ(list.size(), expected.size());
  };
  // Room behind the bytes or none; a list built line by line in many blocks,
  // with one line longer than a block.
  for (size_t room : {text.size(), size_t{0}, size_t{40}, size_t{3000}}) {
    ByteBuffer bytes;
    bytes.Reserve(text.size() + room);
    bytes.Append(text);
    LineList list;
    ASSERT_TRUE(CutIntoLines(std::move(bytes), &list));
    rewrite_all(list);
  }
  LineList built(64);
  lines[7] = "l" + std::string(LineList::kBlockSize + 10, 'x');
  for (const std::string& line : lines) built.Append(line);
  rewrite_all(built);
}

}  // namespace
}  // namespace vornette
