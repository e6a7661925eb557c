#include "formatter/line_list.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

std::string Joined(const LineList& list) {
  std::string text;
  for (std::string_view piece : list.WritingFormat()) text.append(piece);
  return text;
}

TEST(CutIntoLinesTest, LineEnds) {
  struct Case {
    std::string_view name;
    std::string_view bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"lf", "a\nb\n", {"a", "b"}},
      {"lone cr", "a\rb\r", {"a", "b"}},
      {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
      {"missing last end", "a\r\nb", {"a", "b"}},
      {"only line ends", "\n\n\r\n\r", {"", "", "", ""}},
      {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"bom kept", "\xEF\xBB\xBFx\n", {"\xEF\xBB\xBFx"}},
      {"cr cr lf", "a\r\r\nb", {"a", "", "b"}},
      {"high bytes", "\xE9\xF0\xFF\n", {"\xE9\xF0\xFF"}},
      {"lone cr before crlf", "a\rb\r\nc\n\n", {"a", "b", "c", ""}},
      {"long mixed",
       "first line\nsecond\r\r\nthird\rfourth\n\rfifth",
       {"first line", "second", "", "third", "fourth", "", "fifth"}},
  };
  for (const Case& c : cases) {
    // Without room behind the bytes the lines are copied; with room, the
    // line ends widen in place.
    for (size_t room : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, c.bytes.size() + 2}) {
      ByteBuffer bytes;
      bytes.Reserve(c.bytes.size() + room);
      bytes.Append(c.bytes);
      LineList list;
      ASSERT_TRUE(CutIntoLines(std::move(bytes), &list)) << c.name;
      EXPECT_EQ(list.Lines(), c.lines) << c.name << room;
      EXPECT_EQ(list.size(), c.lines.size()) << c.name << room;
      std::string expected;
      for (const std::string& line : c.lines) expected += line + "\r\n";
      EXPECT_EQ(Joined(list), expected) << c.name << room;
    }
  }
}

TEST(CutIntoLinesTest, NulByteIsNoText) {
  LineList list;
  list.Append("old");
  EXPECT_FALSE(CutIntoLines(std::string("a\0b\r\n", 5), &list));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(CutIntoLines(std::string("\xFF\xFEx\0", 4), &list));
}

TEST(LineListTest, AppendAcrossBlocksKeepsOrder) {
  LineList list;
  const std::string long_line(LineList::kBlockSize + 10, 'x');
  list.Append("first");
  list.Append(long_line);
  for (int i = 0; i < 1000; ++i) list.Append(std::to_string(i));
  list.Append("");
  ASSERT_EQ(list.size(), 1003u);
  const std::vector<std::string> lines = list.Lines();
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], long_line);
  EXPECT_EQ(lines[2], "0");
  EXPECT_EQ(lines[1001], "999");
  EXPECT_EQ(lines[1002], "");
  EXPECT_EQ(Joined(list).size(), 5 + long_line.size() + 2890 + 1003 * 2);
}

}  // namespace
}  // namespace vornette

namespace vornette {
namespace {

struct Rewritten {
  size_t blanks;
  std::string_view text;
};

// Rewrites each line as its number of blanks (from a pattern that shrinks,
// keeps and grows lines) followed by the line's own text, or a text of its
// own: the rewritten lines must come out in order whether they fit in place
// or not.
TEST(RewriteLinesTest, InPlaceSpilledAndAcrossBlocks) {
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    lines.push_back(std::string(i % 7, ' ') + "line " + std::to_string(i) +
                    std::string(i % 5, 'x'));
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";

  const size_t growth_pattern[] = {0, 1, 3, 0, 12};
  std::vector<std::string> expected;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string trimmed = lines[i].substr(lines[i].find_first_not_of(' '));
    expected.push_back(std::string(growth_pattern[i % 5], ' ') +
                       (i % 11 == 0 ? "other text" : trimmed));
  }
  const std::string other = "other text";
  auto rewrite_all = [&](LineList& list) {
    size_t i = 0;
    list.RewriteLines([&](std::string_view line) {
      const size_t index = i++;
      const std::string_view text =
          index % 11 == 0 ? std::string_view(other) : line.substr(line.find_first_not_of(' '));
      return Rewritten{growth_pattern[index % 5], text};
    });
  };

  // Room behind the bytes, none, and a list built line by line in blocks.
  for (size_t room : {text.size(), size_t{0}, size_t{40}, size_t{3000}}) {
    ByteBuffer bytes;
    bytes.Reserve(text.size() + room);
    bytes.Append(text);
    LineList list;
    ASSERT_TRUE(CutIntoLines(std::move(bytes), &list));
    rewrite_all(list);
    EXPECT_EQ(list.Lines(), expected) << room;
    EXPECT_EQ(list.size(), expected.size());
  }
  LineList built(64);
  for (const std::string& line : lines) built.Append(line);
  rewrite_all(built);
  EXPECT_EQ(built.Lines(), expected);
}

}  // namespace
}  // namespace vornette
