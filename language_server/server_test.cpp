// What only an exchange over the in-memory Env shows: framing, error codes,
// characters beyond U+FFFF in both units, the size guard, settings from
// every place. Whole sessions run in the real clients' tests.
#include "language_server/server.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/memory_env.h"
#include "vornette/vornette.h"
#include "vornette_format/shipped_ini.h"

namespace vornette {
namespace {

using nlohmann::json;

std::string Request(json id, const std::string& method, json params = json::object()) {
  json message = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
  if (!id.is_null()) message["id"] = id;
  return message.dump();
}

std::string Notice(const std::string& method, json params = json::object()) {
  return Request(nullptr, method, params);
}

std::string Initialize(bool utf8 = false, json extra = json::object()) {
  json params = {{"capabilities", json::object()}};
  if (utf8) params["capabilities"]["general"]["positionEncodings"] = {"utf-16", "utf-8"};
  params.update(extra);
  return Request(1, "initialize", params);
}

std::string Open(const std::string& uri, const std::string& text) {
  return Notice("textDocument/didOpen",
                {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}});
}

json Doc(const std::string& uri = "file:///robot/a.src") { return {{"uri", uri}}; }

json Pos(size_t line, size_t character) { return {{"line", line}, {"character", character}}; }

json Range(size_t a, size_t b, size_t c, size_t d) {
  return {{"start", Pos(a, b)}, {"end", Pos(c, d)}};
}

// A range as "line:start-end".
std::string At(const json& range) {
  return range["start"]["line"].dump() + ":" + range["start"]["character"].dump() + "-" +
         range["end"]["character"].dump();
}

// Each message sent as "id:ok", "id:code", "log", for edits each as
// "line:units=text", for diagnostics "pub@version" and each one's range and
// code, with the range of its related place after ">".
std::vector<std::string> Summary(const std::vector<json>& sent) {
  std::vector<std::string> lines;
  for (const json& message : sent) {
    if (message.value("method", "") == "textDocument/publishDiagnostics") {
      const json& params = message["params"];
      std::string line = "pub" + (params.contains("version") ? "@" + params["version"].dump() : "");
      for (const json& diagnostic : params["diagnostics"]) {
        EXPECT_EQ(diagnostic["severity"], 2);
        EXPECT_EQ(diagnostic["source"], "vornette");
        line += " " + At(diagnostic["range"]) + " " + diagnostic["code"].get<std::string>();
        if (diagnostic.contains("relatedInformation")) {
          line += ">" + At(diagnostic["relatedInformation"][0]["location"]["range"]);
        }
      }
      lines.push_back(line);
    } else if (message.contains("method")) {
      lines.push_back(message["method"] == "window/logMessage" ? "log" : "?");
    } else if (message.contains("error")) {
      // A refusal names the file first.
      const std::string text = message["error"]["message"], code = message["error"]["code"].dump();
      lines.push_back(message["id"].dump() + ":" + code +
                      (code == "-32803" ? " " + text.substr(0, text.find(" was ")) : ""));
    } else if (message["result"].is_array()) {
      if (message["result"].empty()) lines.push_back("[]");
      for (const json& edit : message["result"]) {
        lines.push_back(edit["range"]["start"]["line"].dump() + ":" +
                        edit["range"]["end"]["character"].dump() + "=" +
                        edit["newText"].get<std::string>());
      }
    } else {
      lines.push_back(message["id"].dump() + ":ok");
    }
  }
  return lines;
}

// Runs the server over `bodies` framed as a client frames them; returns
// every message it sent, each checked to be framed exactly.
std::vector<json> Serve(MemoryEnv& env, const std::vector<std::string>& bodies, int* status) {
  env.stdin_stream.clear();
  env.stdin_at = 0;
  env.stdout_writes.clear();
  for (const std::string& body : bodies) env.stdin_stream += FrameMessage(body);
  *status = RunLanguageServer(env, kShippedIni);
  std::vector<json> sent;
  for (const std::string& framed : env.stdout_writes) {
    const size_t body = framed.find("\r\n\r\n") + 4;
    EXPECT_EQ(framed.substr(0, body),
              "Content-Length: " + std::to_string(framed.size() - body) + "\r\n\r\n");
    sent.push_back(json::parse(framed.substr(body)));
  }
  return sent;
}

TEST(LanguageServer, LifecycleAndBadInput) {
  const std::string open = Open("file:///a.src", "x");
  const json a = Doc("file:///a.src");
  const std::string format = "textDocument/formatting", range = "textDocument/rangeFormatting",
                    on_type = "textDocument/onTypeFormatting";
  // clang-format off
  const struct {
    std::vector<std::string> bodies;
    std::vector<std::string> sent;
    int status;
  } rows[] = {
      // Requests before initialize and after shutdown.
      {{Request(5, "shutdown"), Notice("textDocument/didOpen"), Initialize(), Request(2, "shutdown"),
        Request(3, format), Notice("exit"), Request(4, "shutdown")},
       {"5:-32002", "1:ok", "2:ok", "3:-32600"}, 0},
      {{Initialize(), Notice("exit")}, {"1:ok"}, 1},
      {{Initialize(), Request(2, "shutdown")}, {"1:ok", "2:ok"}, 0},
      {{Initialize()}, {"1:ok"}, 1},
      // Unknown methods, cancellation and replies.
      {{Initialize(), Request(2, "textDocument/hover"), Request(3, "$/unknown"),
        Notice("$/cancelRequest", {{"id", 2}}), Notice("workspace/whatever"),
        R"({"jsonrpc":"2.0","id":77,"result":null})"},
       {"1:ok", "2:-32601", "3:-32601"}, 1},
      {{Initialize(), Initialize()}, {"1:ok", "1:-32600"}, 1},
      // Bodies that are no request.
      {{Initialize(), "{\"id\":", "[1,2]", R"({"id":4})", R"({"id":[1],"method":"shutdown"})",
        R"({"id":"s","method":7})", "\"text\""},
       {"1:ok", "null:-32700", "null:-32600", "4:-32600", "null:-32600", "\"s\":-32600", "null:-32600"}, 1},
      // Parameters of the wrong kind, and positions past the document.
      {{Initialize(), open, Request(2, format, {{"textDocument", 5}}),
        Request(4, range, {{"textDocument", a}, {"range", {{"start", Pos(0, 0)}}}}),
        Request(5, on_type, {{"textDocument", a}, {"position", {{"line", 0}, {"character", -1}}}, {"ch", "\n"}}),
        Request(6, format, {{"textDocument", Doc("file:///b.src")}}),
        Request(7, "textDocument/rangesFormatting", {{"textDocument", a}, {"ranges", 1}}),
        Notice("textDocument/didChange", {{"textDocument", 1}}),
        Request(8, range, {{"textDocument", a}, {"range", Range(0, 0, 1, 0)}}),
        Request(9, range, {{"textDocument", a}, {"range", Range(0, 0, 1, 1)}}),
        Request(10, on_type, {{"textDocument", a}, {"position", Pos(1, 0)}, {"ch", "\n"}}),
        Notice("textDocument/didChange", {{"textDocument", a},
                                          {"contentChanges", {{{"range", Range(3, 0, 3, 0)}, {"text", "y"}}}}})},
       {"1:ok", "pub@1", "2:-32602", "4:-32602", "5:-32602", "6:-32602", "7:-32602", "log", "0:1=X",
        "9:-32602", "10:-32602", "log"}, 1},
      // Block warnings after each open and change, cleared on close; a
      // text that begins with U+FEFF, one character in UTF-16 and three
      // bytes in UTF-8; the closing word as related information.
      {{Initialize(false, {{"capabilities", {{"textDocument", {{"publishDiagnostics", {{"relatedInformation", true}}}}}}}}),
        Open("file:///a.src", "\xEF\xBB\xBF" "DEF a()\nIF x THEN\nEND"),
        Notice("textDocument/didChange", {{"textDocument", {{"uri", "file:///a.src"}, {"version", 7}}},
                                          {"contentChanges", {{{"range", Range(1, 0, 1, 2)}, {"text", "ENDIF"}}}}}),
        Notice("textDocument/didClose", {{"textDocument", a}})},
       {"1:ok", "pub@1 0:1-4 not-indented-as-block 1:0-2 not-closed-before>2:0-3",
        "pub@7 0:1-4 not-indented-as-block 1:0-5 closes-no-block", "pub"}, 1},
      {{Initialize(true), Open("file:///a.src", "\xEF\xBB\xBF" "DEF a()\nIF x THEN\nEND"),
        Open("file:///b.src", std::string("END\0", 4)), Open("file:///marked.src", "def a()\nend"),
        Open("file:///c.src", "ELSE")},
       {"1:ok", "pub@1 0:3-6 not-indented-as-block 1:0-2 not-closed-before", "pub@1",
        "pub@1 0:0-3 not-indented-as-block", "pub@1 0:0-4 outside-block"}, 1},
      {{Initialize(false, {{"initializationOptions", {{"diagnostics", false}}}}), Open("file:///a.src", "ENDIF"),
        Notice("textDocument/didClose", {{"textDocument", a}})}, {"1:ok"}, 1},
      // A document a .vornetteignore leaves out: no edits, no warnings.
      {{Initialize(), Open("file:///vendor/a.src", "ENDIF\nx=1"),
        Request(2, format, {{"textDocument", Doc("file:///vendor/a.src")}}),
        Request(3, on_type, {{"textDocument", Doc("file:///vendor/a.src")}, {"position", Pos(1, 0)}, {"ch", "\n"}})},
       {"1:ok", "pub@1", "[]", "[]"}, 1}};
  // clang-format on
  for (const auto& row : rows) {
    MemoryEnv env;
    env.files["/marked.src"] =
        "\xEF\xBB\xBF"
        "def a()";  // a mark the editor holds apart
    env.files["/vendor/.vornetteignore"] = "*.SRC";
    int status = -1;
    EXPECT_EQ(Summary(Serve(env, row.bodies, &status)), row.sent) << row.bodies.back();
    EXPECT_EQ(status, row.status) << row.bodies.back();
  }
}

// What an editor does depends on them: how it sends changes, whether it
// asks for several ranges at once, which key formats as you type.
TEST(LanguageServer, AnswersItsCapabilitiesAndEncoding) {
  MemoryEnv env;
  int status = 0;
  for (bool utf8 : {false, true}) {
    const json result = Serve(env, {Initialize(utf8)}, &status)[0]["result"];
    const json& capabilities = result["capabilities"];
    EXPECT_EQ(capabilities["positionEncoding"], utf8 ? "utf-8" : "utf-16");
    EXPECT_EQ(capabilities["textDocumentSync"], json({{"openClose", true}, {"change", 2}}));
    EXPECT_EQ(capabilities["documentRangeFormattingProvider"]["rangesSupport"], true);
    EXPECT_EQ(capabilities["documentOnTypeFormattingProvider"]["firstTriggerCharacter"], "\n");
    EXPECT_EQ(result["serverInfo"]["version"], std::string(kVersion));
  }
}

TEST(LanguageServer, SkipsTooLongMessagesAnsweringTheirId) {
  MemoryEnv env;
  std::vector<json> sent;
  LanguageServer server(env, "", [&](std::string_view body) { sent.push_back(json::parse(body)); });
  server.Receive(
      {FramedMessage::Kind::kTooLarge, R"({"jsonrpc":"2.0","params":{"id":3},"id":12,"me)"});
  server.Receive(
      {FramedMessage::Kind::kTooLarge, R"({"jsonrpc":"2.0","method":"textDocument/didOp)"});
  EXPECT_EQ(Summary(sent), (std::vector<std::string>{"12:-32600", "log"}));
}

// Documents opened, changed and formatted step by step, with the settings
// files of each step. (The real clients' sessions count characters beyond
// U+FFFF in both units.)
TEST(LanguageServer, FormatsAsEditsPerLine) {
  const std::string a = "file:///robot/a.src";
  const std::string cell = "/robot/cell/Vornette.ini", beside = "/opt/vornette/Vornette.ini";
  const std::string in_cell = "file:///robot/cell/sub%20dir/a.src", b = "file:///elsewhere/b.src";
  std::string trimming(kShippedIni);
  trimming.replace(trimming.find("TrimTrailingBlanks=0"), 20, "TrimTrailingBlanks=1");
  // A file to write first ("gone" removes it, "fails" makes it unreadable),
  // the document, a change to it, and what formatting it (or typing Enter
  // or ";" at the position `on_type`) sends.
  // clang-format off
  const struct {
    std::string uri, text;
    std::vector<std::string> sent;
    std::string on_type = "", path = "", ini = "";
    json changes = nullptr;
  } steps[] = {
      // What JSON escapes in a reply: quotes, backslashes, control characters.
      {a, "x=1 ; say \"hi\" \\ \t\x01\x1f\x7f", {"0:21=X = 1 ; say \"hi\" \\ \t\x01\x1f\x7f"}},
      // A line that would not be UTF-8 stays; a NUL is refused; a lone CR
      // before an LF line keeps that line.
      {a, "x=\xF0\x9F\x98\x80\ny=1", {"1:3=Y = 1"}},
      {a, std::string("x=1\n\0", 5), {"log", "[]"}},
      {a, "x=1\r  \ny=2", {"0:3=X = 1", "2:3=Y = 2"}},
      // On type: the line ended is formatted, the new one gets its indentation.
      {a, "def a()\nif x then\nx=1\nend", {"1:9=  IF X THEN", "2:3=    X = 1"}, "2:0"},
      {a, "  \ndef a()", {"0:2="}, "0:0"},
      {a, "x=1\n", {"[]"}, "1:0;"},
      // A new line between the markers keeps the blanks the editor gave it.
      {a, "; vornette: off\n  \nx", {"[]"}, "1:2"},
      // A change of the whole text.
      {a, "a", {"0:1=B"}, "", "", "", {{{"text", "b"}}}},
      // Settings as the command line finds them: the nearest Vornette.ini,
      // for an unsaved document the workspace folder's, the one beside the
      // program, the built-in one; read again on each request.
      {in_cell, "def a()\nx=1", {"1:3=    x = 1"}, "", cell, "[Indent]\nIndentWidth=4\n"},
      {"untitled:Untitled-1", "def a()\nx=1", {"1:3=    x = 1"}, "", beside, "[Indent]\nIndentWidth=3\n"},
      {b, "def a()\nx=1", {"1:3=   x = 1"}},
      {in_cell, "def a()\nx=1", {"1:3=     x = 1"}, "", cell, "[Indent]\nIndentWidth=5\n"},
      {b, "def a()\nx=1", {"0:7=DEF A()", "1:3=  X = 1"}, "", beside, "gone"},
      // Behind the byte-order mark of the file, which the editor holds apart
      // from the text, the first word is no block word (shipped rules).
      {"file:///elsewhere/marked.src", "def a()\nx=1", {"0:7=def A()", "1:3=X = 1"}, "",
       "/elsewhere/marked.src", "\xEF\xBB\xBF" "def a()\nx=1"},
      // An indentation no editor could take is refused before it is made.
      {"file:///wide/a.src", "def a()\nx=1", {"log", "[]"}, "", "/wide/Vornette.ini", "[Indent]\nIndentWidth=80000000\n"},
      {in_cell, "x", {"log", "[]"}, "", cell, "fails"},
      // Enter with trailing blanks trimmed: the new line still gets the
      // indentation of its place, where the user is about to type.
      {"file:///trim/a.src", "def a()\nif x then  \n\t\nend", {"1:11=  IF X THEN", "2:1=    "}, "2:1",
       "/trim/Vornette.ini", trimming},
      // A Windows-1252 file the editor decoded as UTF-8 is refused, whichever
      // the formatting; one that holds U+FFFD itself, or no file, is formatted.
      {"file:///enc/a%20b.src", "x=1 ; K\xEF\xBF\xBDse", {"2:-32803 /enc/a b.src"}, "", "/enc/a b.src",
       "x=1 ; K\xE4se"},
      {"file:///enc/a%20b.src", "x=1 ; K\xEF\xBF\xBDse\n", {"2:-32803 /enc/a b.src"}, "1:0"},
      {"file:///enc/b.src", "x=1 ; \xEF\xBF\xBD", {"0:7=X = 1 ; \xEF\xBF\xBD"}, "", "/enc/b.src",
       "x=1 ; \xEF\xBF\xBD"},
      {"file:///enc/new.src", "x=1 ; \xEF\xBF\xBD", {"0:7=X = 1 ; \xEF\xBF\xBD"}}};
  // clang-format on
  MemoryEnv env;
  std::vector<json> sent;
  LanguageServer server(env, std::string(kShippedIni),
                        [&](std::string_view body) { sent.push_back(json::parse(body)); });
  const auto receive = [&](const std::string& body) {
    server.Receive({FramedMessage::Kind::kBody, body});
  };
  receive(Initialize(false, {{"rootUri", "file:///robot/cell"}}));
  for (const auto& step : steps) {
    if (step.ini == "gone") env.files.erase(step.path);
    if (step.ini == "fails") env.read_failures[step.path] = FileResult::kReadFailed;
    if (!step.path.empty() && step.ini != "gone" && step.ini != "fails") {
      env.files[step.path] = step.ini;
    }
    receive(Open(step.uri, step.text));
    if (!step.changes.is_null()) {
      receive(Notice("textDocument/didChange",
                     {{"textDocument", Doc(step.uri)}, {"contentChanges", step.changes}}));
    }
    json params = {{"textDocument", Doc(step.uri)}, {"options", {{"tabSize", 8}}}};
    const size_t colon = step.on_type.find(':');
    if (colon != std::string::npos) {
      params["position"] =
          Pos(std::stoul(step.on_type), std::stoul(step.on_type.substr(colon + 1)));
      params["ch"] = step.on_type.ends_with(";") ? ";" : "\n";
    }
    sent.clear();
    receive(Request(
        2, colon == std::string::npos ? "textDocument/formatting" : "textDocument/onTypeFormatting",
        params));
    EXPECT_EQ(Summary(sent), step.sent) << step.text;
  }
}

}  // namespace
}  // namespace vornette
