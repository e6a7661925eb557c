// The language server: JSON-RPC requests and notifications in, replies,
// edits and log messages out. It formats with the library and finds each
// document's settings as vornette-format does.
#ifndef VORNETTE_LANGUAGE_SERVER_SERVER_H_
#define VORNETTE_LANGUAGE_SERVER_SERVER_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "language_server/documents.h"
#include "language_server/message_reader.h"
#include "language_server/positions.h"
#include "platform/env.h"
#include "vornette/vornette.h"

namespace vornette {

class LanguageServer {
 public:
  // Hands each message body to send to `send`. `builtin_ini` is the text
  // of the shipped Vornette.ini, for documents that find no other; it is
  // read once.
  LanguageServer(Env& env, std::string_view builtin_ini, std::function<void(std::string_view)> send)
      : env_(env), builtin_(SettingsFromIni(builtin_ini)), send_(std::move(send)) {}

  // Answers one message of the stream. Nothing a client sends ends the
  // server, but the exit notification.
  void Receive(const FramedMessage& message);

  // True once the client said exit.
  bool Exited() const { return exited_; }

  // The exit status the protocol asks for: 0 after a shutdown request,
  // else 1.
  int ExitStatus() const { return shut_down_ ? 0 : 1; }

 private:
  class Impl;
  Env& env_;
  const FormatterSettings builtin_;
  const std::function<void(std::string_view)> send_;
  OpenDocuments documents_;
  PositionEncoding encoding_ = PositionEncoding::kUtf16;
  std::optional<std::string> root_;   // the workspace folder's path
  bool diagnostics_ = true;           // publish block warnings
  bool related_information_ = false;  // the client shows related places
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exited_ = false;
};

// Runs the language server on standard input and output until the client
// says exit or the input ends, and returns its exit status.
int RunLanguageServer(Env& env, std::string_view builtin_ini);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_SERVER_H_
