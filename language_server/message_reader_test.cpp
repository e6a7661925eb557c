#include "language_server/message_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornette {
namespace {

// Each found thing as "body:<text>", "bad" or "large:<kept bytes>".
std::vector<std::string> Read(std::string_view stream, size_t piece, size_t most_body) {
  MessageReader reader(most_body);
  std::vector<std::string> found;
  FramedMessage message;
  for (size_t at = 0; at < stream.size(); at += piece) {
    reader.Feed(stream.substr(at, piece));
    while (reader.Next(&message)) {
      found.push_back(message.kind == FramedMessage::Kind::kBody       ? "body:" + message.body
                      : message.kind == FramedMessage::Kind::kTooLarge ? "large:" + message.body
                                                                       : "bad");
    }
  }
  return found;
}

TEST(MessageReader, CutsTheStreamAtEveryPieceSize) {
  const std::string long_garbage(MessageReader::kMostHeader + 100, 'g');
  const std::string skipped_body(MessageReader::kKeptOfSkipped + 50, 'b');
  const std::string five = "Content-Length: 1\r\n\r\n5";
  // clang-format off
  const struct {
    std::string stream;
    std::vector<std::string> found;
  } rows[] = {
      {"Content-Length: 2\r\n\r\n{}Content-Length: 3\r\n\r\n[1]", {"body:{}", "body:[1]"}},
      // Other header fields, any case, blanks around the value; an empty body.
      {"content-type: x\r\nCONTENT-LENGTH:  4 \r\n\r\nnull", {"body:null"}},
      {"Content-Length: 0\r\n\r\n" + five, {"body:", "body:5"}},
      {"Content-Length: 6\r\n\r\n\r\n\r\nab", {"body:\r\n\r\nab"}},  // the header's end in the body
      // Garbage, no length, no number, two lengths, no colon: the next header counts.
      {"xyz" + five, {"bad", "body:5"}}, {"Content-Type: x\r\n\r\n" + five, {"bad", "body:5"}},
      {"Content-Length: 1x\r\n\r\n" + five, {"bad", "body:5"}},
      {"Content-Length: 1\r\nContent-Length: 1\r\n\r\n" + five, {"bad", "body:5"}},
      {"Content-Length: 1\r\nxy\r\n\r\n" + five, {"bad", "body:5"}},
      // The window given up on is cut before the next header, found next.
      {long_garbage + five, {"bad", "bad", "body:5"}},
      // A body over the limit is skipped, its start kept.
      {"Content-Length: " + std::to_string(skipped_body.size()) + "\r\n\r\n" + skipped_body + five,
       {"large:" + skipped_body.substr(0, MessageReader::kKeptOfSkipped), "body:5"}},
      {"Content-Length: 99999999999999999999999\r\n\r\nab", {}},
      {FrameMessage("{\"a\":\"\xC3\xA4\"}"), {"body:{\"a\":\"\xC3\xA4\"}"}}};
  // clang-format on
  for (const auto& row : rows) {
    for (size_t piece : {size_t{1}, size_t{7}, row.stream.size()}) {
      EXPECT_EQ(Read(row.stream, piece, 1000), row.found) << row.stream << ", pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace vornette
