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
  const struct {
    const char* name;
    std::string stream;
    std::vector<std::string> found;
  } rows[] = {
      {"two messages",
       "Content-Length: 2\r\n\r\n{}Content-Length: 3\r\n\r\n[1]",
       {"body:{}", "body:[1]"}},
      {"other header fields, any case, blanks around the value",
       "content-type: x\r\nCONTENT-LENGTH:  4 \r\n\r\nnull",
       {"body:null"}},
      {"an empty body", "Content-Length: 0\r\n\r\nContent-Length: 1\r\n\r\n1", {"body:", "body:1"}},
      {"a body holding the header's end",
       "Content-Length: 6\r\n\r\n\r\n\r\nab",
       {"body:\r\n\r\nab"}},
      {"garbage before a header", "xyzContent-Length: 1\r\n\r\n5", {"bad", "body:5"}},
      {"a header without its length",
       "Content-Type: x\r\n\r\nContent-Length: 1\r\n\r\n5",
       {"bad", "body:5"}},
      {"a length that is no number",
       "Content-Length: 1x\r\n\r\nContent-Length: 1\r\n\r\n5",
       {"bad", "body:5"}},
      {"two lengths",
       "Content-Length: 1\r\nContent-Length: 1\r\n\r\nContent-Length: 1\r\n\r\n5",
       {"bad", "body:5"}},
      {"a line without a colon",
       "Content-Length: 1\r\nxy\r\n\r\nContent-Length: 1\r\n\r\n5",
       {"bad", "body:5"}},
      // The window given up on is cut before the next header, found next.
      {"no header ever", long_garbage + "Content-Length: 1\r\n\r\n5", {"bad", "bad", "body:5"}},
      {"a body over the limit is skipped, its start kept",
       "Content-Length: " + std::to_string(skipped_body.size()) + "\r\n\r\n" + skipped_body +
           "Content-Length: 1\r\n\r\n5",
       {"large:" + skipped_body.substr(0, MessageReader::kKeptOfSkipped), "body:5"}},
      {"a length beyond any memory", "Content-Length: 99999999999999999999999\r\n\r\nab", {}},
  };
  for (const auto& row : rows) {
    for (size_t piece : {size_t{1}, size_t{7}, row.stream.size()}) {
      EXPECT_EQ(Read(row.stream, piece, 1000), row.found) << row.name << ", pieces of " << piece;
    }
  }
}

TEST(MessageReader, FramesWhatItReads) {
  EXPECT_EQ(Read(FrameMessage("{\"a\":\"\xC3\xA4\"}"), 3, 100),
            std::vector<std::string>{"body:{\"a\":\"\xC3\xA4\"}"});
}

}  // namespace
}  // namespace vornette
