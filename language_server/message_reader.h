// The protocol's base framing: each message is a header of "Name: value"
// lines, each ended by CR LF, an empty line, then exactly as many bytes of
// body as its Content-Length says.
#ifndef VORNETTE_LANGUAGE_SERVER_MESSAGE_READER_H_
#define VORNETTE_LANGUAGE_SERVER_MESSAGE_READER_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vornette {

// What the reader found next in the stream.
struct FramedMessage {
  enum class Kind {
    kBody,       // a whole message: `body` holds it
    kBadHeader,  // bytes that are no header were skipped
    kTooLarge,   // a body beyond the limit was skipped: `body` holds its first bytes
  };
  Kind kind = Kind::kBody;
  std::string body;
};

// Cuts the bytes of a stream, fed in pieces of any size, into messages.
// After bytes that are no header it goes on at the next "Content-Length"
// that begins a header, so one broken message costs only itself.
class MessageReader {
 public:
  // Bodies longer than `most_body` bytes are skipped, never held.
  explicit MessageReader(size_t most_body = size_t{64} << 20) : most_body_(most_body) {}

  // Appends the next bytes of the stream.
  void Feed(std::string_view bytes);

  // Puts the next thing found in `message`; false until more bytes arrive.
  bool Next(FramedMessage* message);

  // How much of a skipped body is kept to find its id in.
  static constexpr size_t kKeptOfSkipped = 4096;

  // The longest header looked for: a stream without an empty line after
  // that many bytes is not framed at all.
  static constexpr size_t kMostHeader = 8192;

 private:
  // Reads the header at the start of `header` (its empty line excluded);
  // false when it is none.
  static bool ReadHeader(std::string_view header, size_t* length);

  const size_t most_body_;
  std::string buffer_;
  size_t at_ = 0;           // where the unread bytes of buffer_ begin
  size_t body_length_ = 0;  // of the body being waited for, when waiting_
  bool waiting_ = false;
  size_t searched_ = 0;        // how far past at_ the empty line was looked for
  size_t skipping_ = 0;        // bytes of a skipped body still to come
  std::string skipped_;        // the first bytes of the body being skipped
  bool skipped_done_ = false;  // a skipped body is to be reported once it has passed
};

// `body` with the header that frames it.
std::string FrameMessage(std::string_view body);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_MESSAGE_READER_H_
