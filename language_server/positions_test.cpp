#include "language_server/positions.h"

#include <gtest/gtest.h>

#include "language_server/file_uri.h"

namespace vornette {
namespace {

// "ä" takes two bytes and one UTF-16 unit, "😀" four bytes and two units.
constexpr std::string_view kText = "a\xC3\xA4\xF0\x9F\x98\x80z\r\nb\rc\n\xF0\x9F\x98\x80";

TEST(Positions, OffsetsInEitherUnit) {
  // clang-format off
  const struct {
    Position position;
    size_t utf16, utf8;  // the offsets each unit gives
  } rows[] = {
      {{0, 0}, 0, 0}, {{0, 1}, 1, 1}, {{0, 2}, 3, 1},  // UTF-8: inside "ä", so at its start
      {{0, 3}, 3, 3}, {{0, 4}, 7, 3}, {{0, 5}, 8, 3}, {{0, 7}, 8, 7},  // UTF-16: inside "😀"
      {{0, 99}, 8, 8},  // past the line's end: its end, before the CR LF
      {{1, 1}, 11, 11}, {{2, 0}, 12, 12}, {{3, 2}, 18, 14}, {{3, 9}, 18, 18}};  // after a lone CR; the last line
  // clang-format on
  for (const auto& row : rows) {
    size_t utf16 = 0, utf8 = 0;
    ASSERT_TRUE(OffsetOf(kText, row.position, PositionEncoding::kUtf16, &utf16));
    ASSERT_TRUE(OffsetOf(kText, row.position, PositionEncoding::kUtf8, &utf8));
    EXPECT_EQ(std::pair(utf16, utf8), std::pair(row.utf16, row.utf8))
        << row.position.line << ":" << row.position.character;
  }
  size_t offset = 0;
  EXPECT_FALSE(OffsetOf(kText, {4, 0}, PositionEncoding::kUtf16, &offset));
  EXPECT_TRUE(OffsetOf("a\n", {1, 0}, PositionEncoding::kUtf16, &offset));  // the empty last line
  EXPECT_EQ(offset, 2u);
  EXPECT_EQ(UnitsOf(kText.substr(0, 8), PositionEncoding::kUtf16), 5u);
  EXPECT_EQ(UnitsOf(kText.substr(0, 8), PositionEncoding::kUtf8), 8u);
}

TEST(Positions, WellFormedUtf8) {
  // clang-format off
  const std::pair<std::string_view, bool> rows[] = {
      {"plain", true}, {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", true},
      {"\x80", false}, {"\xC3", false}, {"\xC2\x80\xE1\x80\x80\xF0\x90\x80\x80", true},  // lowest second bytes
      {"\xC0\x80", false}, {"\xE0\x80\x80", false},  // too long
      {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},  // a surrogate, beyond U+10FFFF
      {"\xF0\x9F\x98", false}, {"\xF0=\x98\x80", false}, {"\xF5\x80\x80\x80", false},
      {"==\x9F\x98\x80", false}};  // an emoji whose lead byte became an operator
  // clang-format on
  for (const auto& [bytes, valid] : rows) EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

TEST(FileUri, PathsOnEitherSystem) {
  // clang-format off
  const struct {
    std::string_view uri;
    bool windows;
    const char* path;  // null: no file URI
  } rows[] = {
      {"file:///robot/a%20b.src", false, "/robot/a b.src"}, {"FILE://localhost/r/x.src", false, "/r/x.src"},
      {"file:///r/x.src?q#f", false, "/r/x.src"}, {"file:///r/%C3%A4.src", false, "/r/\xC3\xA4.src"},
      {"file:///c%3A/robot/x.src", true, "c:/robot/x.src"}, {"file:///C:/robot/x.src", true, "C:/robot/x.src"},
      {"file:///c%3A/robot/x.src", false, "/c:/robot/x.src"},
      {"file://server/share/x.src", true, "//server/share/x.src"}, {"file://server/share/x.src", false, nullptr},
      {"file:///r/%zz.src", false, nullptr}, {"file:///r/%2", false, nullptr}, {"file:///r/%00.src", false, nullptr},
      {"untitled:Untitled-1", false, nullptr}, {"file:relative", false, nullptr}};
  // clang-format on
  for (const auto& row : rows) {
    std::string path;
    const bool found = PathOfFileUri(row.uri, row.windows, &path);
    EXPECT_EQ(found ? path : "<none>", row.path ? row.path : "<none>") << row.uri;
  }
}

}  // namespace
}  // namespace vornette
