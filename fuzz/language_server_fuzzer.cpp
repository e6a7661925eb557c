// The language server's message reader and dispatcher: any bytes on
// standard input, in pieces of any size. Nothing ends the server but the
// exit notification or the end of input, and every message it sends is
// framed exactly, is valid JSON (so valid UTF-8), and is a reply, a log
// message or diagnostics; every formatting edit covers one line from its
// first character and brings no line end; every diagnostic covers a block
// word on one line.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "language_server/message_reader.h"
#include "language_server/server.h"
#include "tests/memory_env.h"
#include "vornette/vornette.h"
#include "vornette_format/shipped_ini.h"

namespace {

using nlohmann::json;

// Separates the bodies that the target frames itself.
constexpr char kBodySeparator = '\x1e';

void CheckEdits(const json& result) {
  if (!result.is_array()) return;
  for (const json& edit : result) {
    FUZZ_CHECK(edit.is_object() && edit.contains("range") && edit.contains("newText"));
    const json& range = edit["range"];
    FUZZ_CHECK(range["start"]["line"] == range["end"]["line"]);
    FUZZ_CHECK(range["start"]["character"] == 0);
    const std::string& text = edit["newText"].get_ref<const std::string&>();
    FUZZ_CHECK(text.find_first_of("\r\n") == std::string::npos);
  }
}

void CheckSent(std::string_view framed) {
  constexpr std::string_view kHeader = "Content-Length: ";
  FUZZ_CHECK(framed.starts_with(kHeader));
  const size_t end = framed.find("\r\n\r\n");
  FUZZ_CHECK(end != std::string_view::npos);
  const std::string_view body = framed.substr(end + 4);
  FUZZ_CHECK(framed.substr(kHeader.size(), end - kHeader.size()) == std::to_string(body.size()));
  const json message = json::parse(body, nullptr, false);
  FUZZ_CHECK(!message.is_discarded() && message.is_object());
  FUZZ_CHECK(message["jsonrpc"] == "2.0");
  if (message.contains("method") && message["method"] == "textDocument/publishDiagnostics") {
    for (const json& diagnostic : message["params"]["diagnostics"]) {
      const json& range = diagnostic["range"];
      FUZZ_CHECK(range["start"]["line"] == range["end"]["line"]);
      FUZZ_CHECK(range["start"]["character"] < range["end"]["character"]);
      FUZZ_CHECK(diagnostic["source"] == "vornette" && diagnostic["severity"] == 2);
    }
    return;
  }
  if (message.contains("method")) {
    FUZZ_CHECK(message["method"] == "window/logMessage");
    return;
  }
  FUZZ_CHECK(message.contains("id"));
  FUZZ_CHECK(message.contains("result") != message.contains("error"));
  if (message.contains("result")) CheckEdits(message["result"]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  if (size < 1) return 0;
  // The first byte chooses how the stream arrives: as it is, or as bodies
  // (cut at a separator) that get their headers here, so that the
  // dispatcher is reached without guessing lengths; and in pieces of
  // which size.
  const bool framed_here = data[0] & 1;
  static constexpr size_t kPieces[] = {1, 3, 17, 64, 509, 4096, 1 << 16, 1 << 20};
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  MemoryEnv env;
  env.stdin_piece = kPieces[(data[0] >> 1) % 8];
  if (!framed_here) {
    env.stdin_stream.assign(input);
  } else {
    for (size_t start = 0; start <= input.size();) {
      const size_t end = std::min(input.find(kBodySeparator, start), input.size());
      env.stdin_stream += FrameMessage(input.substr(start, end - start));
      start = end + 1;
    }
  }
  // Settings of the input's choosing for documents under /robot. An
  // indentation of thousands of blanks a level only makes replies of many
  // megabytes, whose refusal beyond 64 MiB the unit tests cover; here they
  // took most of the time.
  const std::string ini(input.substr(0, 64));
  if ((data[0] & 0x10) && SettingsFromIni(ini).IndentWidth <= 100) {
    env.files["/robot/Vornette.ini"] = ini;
  }
  const int status = RunLanguageServer(env, kShippedIni);
  FUZZ_CHECK(status == 0 || status == 1);
  for (const std::string& framed : env.stdout_writes) CheckSent(framed);
  return 0;
}
