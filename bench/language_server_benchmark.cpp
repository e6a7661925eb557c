// The language server's answers, each timed from the request's body to the
// reply's body, as an editor waits for them: formatting a whole document,
// a range, and the line just ended.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "language_server/server.h"
#include "tests/memory_env.h"
#include "vornette/vornette.h"
#include "vornette_format/shipped_ini.h"

namespace vornette {
namespace {

using nlohmann::json;

// A program of about `size` bytes in blocks, written carelessly: lower case,
// no spacing, no indentation, so that most lines change.
std::string Program(size_t size) {
  static const char* const kBlock[] = {"if $in[{}]==true and count<5 then",
                                       "lin p{} c_dis",
                                       "$out[{}]=false ; release gripper",
                                       "for i=1 to {}",
                                       "wait for $in[{}]",
                                       "count=count+{}",
                                       "endfor",
                                       "msg=\"Part {} done; next\"",
                                       "else",
                                       "ptp home vel=100% default",
                                       "endif"};
  std::string text = "def big()\r\n";
  for (unsigned n = 0; text.size() < size; ++n) {
    for (const char* line : kBlock) {
      std::string filled = line;
      const size_t hole = filled.find("{}");
      if (hole != std::string::npos) filled.replace(hole, 2, std::to_string(n % 64));
      text += filled + "\r\n";
    }
  }
  return text + "end\r\n";
}

size_t LineCount(const std::string& text) {
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::string Message(json message) {
  message["jsonrpc"] = "2.0";
  return message.dump();
}

// A server with one document open, `text`, and the requests to time.
struct Session {
  explicit Session(const std::string& text)
      : server(env, std::string(kShippedIni), [this](std::string_view body) { last = body; }) {
    Receive({{"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
    Receive({{"method", "textDocument/didOpen"},
             {"params", {{"textDocument", {{"uri", kUri}, {"text", text}}}}}});
  }
  void Receive(json message) {
    server.Receive({FramedMessage::Kind::kBody, Message(std::move(message))});
  }
  static constexpr const char* kUri = "file:///robot/big.src";
  MemoryEnv env;
  std::string last;
  LanguageServer server;
};

void Run(benchmark::State& state, const std::string& text, const json& request) {
  Session session(text);
  const std::string body = Message(request);
  for (auto _ : state) {
    session.server.Receive({FramedMessage::Kind::kBody, body});
    benchmark::DoNotOptimize(session.last.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["reply_bytes"] = static_cast<double>(session.last.size());
}

json Document() { return {{"uri", Session::kUri}}; }

void BM_FormatDocument(benchmark::State& state) {
  const std::string text = Program(static_cast<size_t>(state.range(0)) << 10);
  Run(state, text,
      {{"id", 2},
       {"method", "textDocument/formatting"},
       {"params", {{"textDocument", Document()}}}});
}
BENCHMARK(BM_FormatDocument)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);

// A document already formatted: the answer is no edits at all.
void BM_FormatFormattedDocument(benchmark::State& state) {
  std::string formatted, error;
  if (!FormatText(Program(1 << 20), SettingsFromIni(kShippedIni), &formatted, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  Run(state, formatted,
      {{"id", 2},
       {"method", "textDocument/formatting"},
       {"params", {{"textDocument", Document()}}}});
}
BENCHMARK(BM_FormatFormattedDocument)->Unit(benchmark::kMillisecond);

// Fifty lines in the middle of the document.
void BM_FormatRange(benchmark::State& state) {
  const std::string text = Program(static_cast<size_t>(state.range(0)) << 10);
  const size_t middle = LineCount(text) / 2;
  const json range = {{"start", {{"line", middle}, {"character", 0}}},
                      {"end", {{"line", middle + 50}, {"character", 0}}}};
  Run(state, text,
      {{"id", 2},
       {"method", "textDocument/rangeFormatting"},
       {"params", {{"textDocument", Document()}, {"range", range}}}});
}
BENCHMARK(BM_FormatRange)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);

// Enter pressed in the middle of the document: a new blank line there.
void BM_OnTypeNewLine(benchmark::State& state) {
  std::string text = Program(static_cast<size_t>(state.range(0)) << 10);
  const size_t middle = LineCount(text) / 2;
  size_t at = 0;
  for (size_t line = 0; line < middle; ++line) at = text.find('\n', at) + 1;
  text.insert(at, "\r\n");
  Run(state, text,
      {{"id", 2},
       {"method", "textDocument/onTypeFormatting"},
       {"params",
        {{"textDocument", Document()},
         {"position", {{"line", middle}, {"character", 0}}},
         {"ch", "\n"}}}});
}
BENCHMARK(BM_OnTypeNewLine)->Arg(100)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The block check alone, as each change of a 1 MB document runs it.
void BM_CheckBlocks(benchmark::State& state) {
  const std::string text = Program(1 << 20);
  const FormatterSettings settings = SettingsFromIni(kShippedIni);
  std::vector<BlockWarning> warnings;
  std::string error;
  for (auto _ : state) {
    if (!CheckBlocks(text, settings, &warnings, &error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(warnings.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CheckBlocks)->Unit(benchmark::kMillisecond);

// A character typed in the middle of a 1 MB document: the change applied,
// the document checked, its diagnostics sent.
void BM_TypeInDocument(benchmark::State& state) {
  const std::string text = Program(1 << 20);
  const size_t middle = LineCount(text) / 2;
  const json change = {{"range",
                        {{"start", {{"line", middle}, {"character", 0}}},
                         {"end", {{"line", middle}, {"character", 0}}}}},
                       {"text", " "}};
  Run(state, text,
      {{"method", "textDocument/didChange"},
       {"params", {{"textDocument", Document()}, {"contentChanges", json::array({change})}}}});
}
BENCHMARK(BM_TypeInDocument)->Unit(benchmark::kMillisecond);

// The document arriving: a 1 MB JSON string decoded and held, then checked.
void BM_OpenDocument(benchmark::State& state) {
  const std::string text = Program(1 << 20);
  Session session("");
  const std::string body =
      Message({{"method", "textDocument/didOpen"},
               {"params", {{"textDocument", {{"uri", Session::kUri}, {"text", text}}}}}});
  for (auto _ : state) session.server.Receive({FramedMessage::Kind::kBody, body});
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vornette
