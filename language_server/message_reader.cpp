#include "language_server/message_reader.h"

#include <algorithm>

#include "basic/basic.h"

namespace vornette {
namespace {

constexpr std::string_view kEndOfHeader = "\r\n\r\n";
constexpr std::string_view kLengthName = "content-length";

bool IsTokenByte(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte > ' ' && byte < 0x7F && c != ':';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Where the last "Content-Length:" of `text` begins, in any letter case;
// npos when there is none.
size_t LastLengthField(std::string_view text) {
  for (size_t at = text.size(); at > kLengthName.size();) {
    at = text.rfind(':', at - 1);
    if (at == std::string_view::npos || at < kLengthName.size()) break;
    const size_t start = at - kLengthName.size();
    if (SameTextNoCase(text.substr(start, kLengthName.size()), kLengthName)) return start;
  }
  return std::string_view::npos;
}

// True when `text` is "Name: value" lines, each ended by CR LF.
bool AreHeaderLines(std::string_view text) {
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return false;
    const std::string_view line = text.substr(start, end - start);
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::all_of(line.begin(), line.begin() + colon, IsTokenByte)) {
      return false;
    }
    start = end + 2;
  }
  return true;
}

}  // namespace

bool MessageReader::ReadHeader(std::string_view header, size_t* length) {
  bool found = false;
  for (size_t start = 0; start <= header.size();) {
    size_t end = header.find("\r\n", start);
    if (end == std::string_view::npos) end = header.size();
    const std::string_view line = header.substr(start, end - start);
    start = end + 2;
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) return false;
    const std::string_view name = line.substr(0, colon);
    if (!std::all_of(name.begin(), name.end(), IsTokenByte)) return false;
    if (!SameTextNoCase(name, kLengthName)) continue;
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (found || value.empty()) return false;
    size_t number = 0;
    for (char c : value) {
      if (c < '0' || c > '9') return false;
      // A length past any memory is as good as the largest: skipped all the same.
      number = number > (size_t{1} << 60) ? number : number * 10 + static_cast<size_t>(c - '0');
    }
    *length = number;
    found = true;
  }
  return found;
}

void MessageReader::Feed(std::string_view bytes) {
  if (skipping_ > 0) {
    const size_t count = std::min(skipping_, bytes.size());
    const size_t kept = std::min(count, kKeptOfSkipped - std::min(kKeptOfSkipped, skipped_.size()));
    skipped_.append(bytes.substr(0, kept));
    skipping_ -= count;
    bytes.remove_prefix(count);
  }
  // Read bytes are dropped once they are the larger part, so each byte is
  // moved a bounded number of times.
  if (at_ > 0 && at_ >= buffer_.size() - at_) {
    buffer_.erase(0, at_);
    at_ = 0;
  }
  buffer_.append(bytes);
}

bool MessageReader::Next(FramedMessage* message) {
  if (skipping_ > 0) return false;
  if (skipped_done_) {
    skipped_done_ = false;
    message->kind = FramedMessage::Kind::kTooLarge;
    message->body = std::move(skipped_);
    skipped_.clear();
    return true;
  }
  const std::string_view unread = std::string_view(buffer_).substr(at_);
  if (waiting_) {
    if (unread.size() < body_length_) return false;
    message->kind = FramedMessage::Kind::kBody;
    message->body.assign(unread.substr(0, body_length_));
    at_ += body_length_;
    waiting_ = false;
    return true;
  }
  // The search for the empty line goes on where the last one stopped.
  const std::string_view window = unread.substr(0, kMostHeader + kEndOfHeader.size());
  const size_t from = searched_ < kEndOfHeader.size() ? 0 : searched_ - (kEndOfHeader.size() - 1);
  const size_t end = window.find(kEndOfHeader, from);
  if (end == std::string_view::npos) {
    searched_ = window.size();
    if (window.size() < kMostHeader + kEndOfHeader.size()) return false;
    // No header is this long: go on at its last length field, or past it.
    const size_t field = LastLengthField(window);
    at_ += field != std::string_view::npos && field > 0 ? field : kMostHeader;
    searched_ = 0;
    message->kind = FramedMessage::Kind::kBadHeader;
    message->body.clear();
    return true;
  }
  searched_ = 0;
  const std::string_view header = window.substr(0, end);
  size_t length = 0;
  if (!ReadHeader(header, &length)) {
    // Bytes that are no header lines before a header: go on at its length
    // field. A header of good lines but a bad length is dropped whole.
    const size_t field = LastLengthField(header);
    const bool garbage_first =
        field != std::string_view::npos && field > 0 && !AreHeaderLines(header.substr(0, field));
    at_ += garbage_first && ReadHeader(header.substr(field), &length) ? field
                                                                      : end + kEndOfHeader.size();
    message->kind = FramedMessage::Kind::kBadHeader;
    message->body.clear();
    return true;
  }
  at_ += end + kEndOfHeader.size();
  if (length <= most_body_) {
    waiting_ = true;
    body_length_ = length;
    return Next(message);
  }
  const std::string_view present = std::string_view(buffer_).substr(at_);
  const size_t count = std::min(length, present.size());
  skipped_.assign(present.substr(0, std::min(count, kKeptOfSkipped)));
  at_ += count;
  skipping_ = length - count;
  skipped_done_ = true;
  return Next(message);
}

std::string FrameMessage(std::string_view body) {
  std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  framed.append(body);
  return framed;
}

}  // namespace vornette
