#include "language_server/server.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/memory_env.h"
#include "vornette/vornette.h"
#include "vornette_format/shipped_ini.h"

namespace vornette {
namespace {

using nlohmann::json;

std::string Request(int id, const std::string& method, json params = json::object()) {
  return json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump();
}

std::string Notice(const std::string& method, json params = json::object()) {
  return json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump();
}

std::string Initialize(bool utf8 = false, json extra = json::object()) {
  json params = {{"capabilities", json::object()}};
  if (utf8) params["capabilities"]["general"]["positionEncodings"] = {"utf-16", "utf-8"};
  params.update(extra);
  return Request(1, "initialize", params);
}

json Doc(const std::string& uri = "file:///robot/a.src") { return {{"uri", uri}}; }

json Pos(size_t line, size_t character) { return {{"line", line}, {"character", character}}; }

json Range(size_t a, size_t b, size_t c, size_t d) {
  return {{"start", Pos(a, b)}, {"end", Pos(c, d)}};
}

json Edit(size_t line, size_t units, const std::string& text) {
  return {{"range", Range(line, 0, line, units)}, {"newText", text}};
}

// Runs the server over `bodies`; returns every message it sent.
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

// A reply as "id:ok" or "id:code", a log message as "log".
std::string Summary(const json& message) {
  if (message.contains("method")) return message["method"] == "window/logMessage" ? "log" : "?";
  const std::string id = message["id"].dump();
  return id + ":" + (message.contains("error") ? message["error"]["code"].dump() : "ok");
}

TEST(LanguageServer, LifecycleAndBadInput) {
  const std::string open =
      Notice("textDocument/didOpen", {{"textDocument", {{"uri", "file:///a.src"}, {"text", "x"}}}});
  const struct {
    const char* name;
    std::vector<std::string> bodies;
    std::vector<std::string> sent;
    int status;
  } rows[] = {
      {"requests before initialize and after shutdown",
       {Request(5, "shutdown"), Notice("textDocument/didOpen"), Initialize(),
        Request(2, "shutdown"), Request(3, "textDocument/formatting"), Notice("exit"),
        Request(4, "shutdown")},
       {"5:-32002", "1:ok", "2:ok", "3:-32600"},
       0},
      {"exit without shutdown", {Initialize(), Notice("exit")}, {"1:ok"}, 1},
      {"the end of input", {Initialize(), Request(2, "shutdown")}, {"1:ok", "2:ok"}, 0},
      {"the end of input without shutdown", {Initialize()}, {"1:ok"}, 1},
      {"unknown methods, cancellation and replies",
       {Initialize(), Request(2, "textDocument/hover"), Request(3, "$/unknown"),
        Notice("$/cancelRequest", {{"id", 2}}), Notice("workspace/whatever"),
        R"({"jsonrpc":"2.0","id":77,"result":null})"},
       {"1:ok", "2:-32601", "3:-32601"},
       1},
      {"initialize twice", {Initialize(), Initialize()}, {"1:ok", "1:-32600"}, 1},
      {"bodies that are no request",
       {Initialize(), "{\"id\":", "[1,2]", R"({"id":4})", R"({"id":[1],"method":"shutdown"})",
        R"({"id":"s","method":7})", "\"text\""},
       {"1:ok", "null:-32700", "null:-32600", "4:-32600", "null:-32600", "\"s\":-32600",
        "null:-32600"},
       1},
      {"parameters of the wrong kind",
       {Initialize(), open, Request(2, "textDocument/formatting", {{"textDocument", 5}}),
        Request(3, "textDocument/rangeFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"range", Range(0, 0, 0, 0)}}),
        Request(4, "textDocument/rangeFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"range", {{"start", Pos(0, 0)}}}}),
        Request(5, "textDocument/onTypeFormatting",
                {{"textDocument", Doc("file:///a.src")},
                 {"position", {{"line", 0}, {"character", -1}}},
                 {"ch", "\n"}}),
        Request(6, "textDocument/formatting", {{"textDocument", Doc("file:///b.src")}}),
        Request(7, "textDocument/rangesFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"ranges", 1}}),
        Notice("textDocument/didChange", {{"textDocument", 1}})},
       {"1:ok", "2:-32602", "3:ok", "4:-32602", "5:-32602", "6:-32602", "7:-32602", "log"},
       1},
      {"positions past the document",
       {Initialize(), open,
        Request(2, "textDocument/rangeFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"range", Range(0, 0, 1, 0)}}),
        Request(3, "textDocument/rangeFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"range", Range(0, 0, 1, 1)}}),
        Request(4, "textDocument/onTypeFormatting",
                {{"textDocument", Doc("file:///a.src")}, {"position", Pos(1, 0)}, {"ch", "\n"}}),
        Notice("textDocument/didChange",
               {{"textDocument", Doc("file:///a.src")},
                {"contentChanges", {{{"range", Range(3, 0, 3, 0)}, {"text", "y"}}}}})},
       {"1:ok", "2:ok", "3:-32602", "4:-32602", "log"},
       1},
  };
  for (const auto& row : rows) {
    MemoryEnv env;
    int status = -1;
    std::vector<std::string> sent;
    for (const json& message : Serve(env, row.bodies, &status)) sent.push_back(Summary(message));
    EXPECT_EQ(sent, row.sent) << row.name;
    EXPECT_EQ(status, row.status) << row.name;
  }
}

TEST(LanguageServer, AnswersItsCapabilitiesAndEncoding) {
  MemoryEnv env;
  int status = 0;
  const std::vector<json> utf16 = Serve(env, {Initialize()}, &status);
  const std::vector<json> utf8 = Serve(env, {Initialize(true)}, &status);
  EXPECT_EQ(utf16[0]["result"]["capabilities"]["positionEncoding"], "utf-16");
  EXPECT_EQ(utf8[0]["result"]["capabilities"]["positionEncoding"], "utf-8");
  const json& capabilities = utf16[0]["result"]["capabilities"];
  EXPECT_EQ(capabilities["textDocumentSync"]["change"], 2);
  EXPECT_EQ(capabilities["documentRangeFormattingProvider"]["rangesSupport"], true);
  EXPECT_EQ(capabilities["documentOnTypeFormattingProvider"]["firstTriggerCharacter"], "\n");
  EXPECT_EQ(utf16[0]["result"]["serverInfo"]["version"], std::string(kVersion));
}

TEST(LanguageServer, SkipsTooLongMessagesAnsweringTheirId) {
  MemoryEnv env;
  std::vector<std::string> sent;
  LanguageServer server(env, "", [&](std::string_view body) { sent.emplace_back(body); });
  server.Receive(
      {FramedMessage::Kind::kTooLarge, R"({"jsonrpc":"2.0","params":{"id":3},"id":12,"me)"});
  server.Receive(
      {FramedMessage::Kind::kTooLarge, R"({"jsonrpc":"2.0","method":"textDocument/didOp)"});
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(Summary(json::parse(sent[0])), "12:-32600");
  EXPECT_EQ(Summary(json::parse(sent[1])), "log");
}

// "ä" is one UTF-16 unit and two bytes; "😀" two units and four bytes.
constexpr const char* kUnicodeLine = "x=2 ; \xC3\xA4\xF0\x9F\x98\x80";

TEST(LanguageServer, FormatsAsEditsPerLine) {
  const std::string text = "def a()\r\nif x==1 then\r\nx=1\r\n\r\nendif\r\nend";
  const std::string request = "textDocument/formatting";
  const struct {
    const char* name;
    std::string text;
    bool utf8;
    std::vector<std::string> before;  // messages after the document was opened
    std::string method;
    json params;  // besides textDocument
    json edits;
    bool warned = false;  // a warning in the log before the reply
  } rows[] = {
      {"a whole document, the empty line indented, the last line without an end",
       text,
       false,
       {},
       request,
       json::object(),
       {Edit(0, 7, "DEF A()"), Edit(1, 12, "  IF X == 1 THEN"), Edit(2, 3, "    X = 1"),
        Edit(3, 0, "    "), Edit(4, 5, "  ENDIF"), Edit(5, 3, "END")}},
      {"a formatted document", "DEF A()\nEND\n", false, {}, request, json::object(), json::array()},
      {"UTF-16 units",
       std::string("def a()\n") + kUnicodeLine + "\nend",
       false,
       {},
       request,
       json::object(),
       {Edit(0, 7, "DEF A()"), Edit(1, 9, std::string("  X = 2 ; \xC3\xA4\xF0\x9F\x98\x80")),
        Edit(2, 3, "END")}},
      {"UTF-8 units",
       std::string("def a()\n") + kUnicodeLine + "\nend",
       true,
       {},
       request,
       json::object(),
       {Edit(0, 7, "DEF A()"), Edit(1, 12, std::string("  X = 2 ; \xC3\xA4\xF0\x9F\x98\x80")),
        Edit(2, 3, "END")}},
      {"a line that would not be UTF-8 stays",
       "x=\xF0\x9F\x98\x80\ny=1",
       false,
       {},
       request,
       json::object(),
       {Edit(1, 3, "Y = 1")}},
      {"a NUL", std::string("x=1\n\0", 5), false, {}, request, json::object(), json::array(), true},
      {"a range ending at the start of a line leaves that line",
       text,
       false,
       {},
       "textDocument/rangeFormatting",
       {{"range", Range(1, 3, 3, 0)}},
       {Edit(1, 12, "  IF X == 1 THEN"), Edit(2, 3, "    X = 1")}},
      {"a range within one line",
       text,
       false,
       {},
       "textDocument/rangeFormatting",
       {{"range", Range(4, 2, 4, 2)}},
       {Edit(4, 5, "  ENDIF")}},
      {"several ranges",
       text,
       false,
       {},
       "textDocument/rangesFormatting",
       {{"ranges", {Range(0, 0, 0, 1), Range(5, 0, 5, 3)}}},
       {Edit(0, 7, "DEF A()"), Edit(5, 3, "END")}},
      {"a lone CR before an LF line keeps that line",
       "x=1\r  \ny=2",
       false,
       {},
       request,
       json::object(),
       {Edit(0, 3, "X = 1"), Edit(2, 3, "Y = 2")}},
      {"on type: ENDIF moves out, the new line indented",
       "def a()\nif x then\n  x=1\n  endif\n\nend",
       false,
       {},
       "textDocument/onTypeFormatting",
       {{"position", Pos(4, 0)}, {"ch", "\n"}},
       {Edit(3, 7, "  ENDIF"), Edit(4, 0, "  ")}},
      {"on type: a new line holding text is formatted",
       "def a()\nif x then\nx=1\nend",
       false,
       {},
       "textDocument/onTypeFormatting",
       {{"position", Pos(2, 0)}, {"ch", "\n"}},
       {Edit(1, 9, "  IF X THEN"), Edit(2, 3, "    X = 1")}},
      {"on type in the first line",
       "  \ndef a()",
       false,
       {},
       "textDocument/onTypeFormatting",
       {{"position", Pos(0, 0)}, {"ch", "\n"}},
       {Edit(0, 2, "")}},
      {"on type with another character",
       "x=1\n",
       false,
       {},
       "textDocument/onTypeFormatting",
       {{"position", Pos(1, 0)}, {"ch", ";"}},
       json::array()},
      {"incremental changes in UTF-16 units, then a whole text",
       std::string(kUnicodeLine) + "\nb",
       false,
       {Notice("textDocument/didChange", {{"textDocument", Doc()},
                                          {"contentChanges",
                                           {{{"range", Range(0, 9, 0, 9)}, {"text", "!"}},
                                            {{"range", Range(0, 1, 0, 2)}, {"text", "<>"}},
                                            {{"range", Range(0, 4, 0, 4)}, {"text", "\ny="}}}}})},
       request,
       json::object(),
       {Edit(0, 4, "X <> 2"), Edit(1, 9, "Y = ; \xC3\xA4\xF0\x9F\x98\x80!"), Edit(2, 1, "B")}},
      {"incremental changes in UTF-8 units",
       std::string(kUnicodeLine),
       true,
       {Notice("textDocument/didChange",
               {{"textDocument", Doc()},
                {"contentChanges", {{{"range", Range(0, 8, 0, 12)}, {"text", "-"}}}}})},
       request,
       json::object(),
       {Edit(0, 9, "X = 2 ; \xC3\xA4-")}},
  };
  for (const auto& row : rows) {
    MemoryEnv env;
    std::vector<std::string> bodies = {
        Initialize(row.utf8), Notice("initialized"),
        Notice("textDocument/didOpen", {{"textDocument",
                                         {{"uri", "file:///robot/a.src"},
                                          {"languageId", "krl"},
                                          {"version", 1},
                                          {"text", row.text}}}})};
    bodies.insert(bodies.end(), row.before.begin(), row.before.end());
    json params = row.params;
    params["textDocument"] = Doc();
    params["options"] = {{"tabSize", 8}, {"insertSpaces", false}};
    bodies.push_back(Request(9, row.method, params));
    int status = 0;
    const std::vector<json> sent = Serve(env, bodies, &status);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()["result"], row.edits) << row.name << "\n" << sent.back().dump();
    EXPECT_EQ(Summary(sent[sent.size() - 2]) == "log", row.warned) << row.name;
  }
}

TEST(LanguageServer, FindsSettingsAsTheCommandLineDoes) {
  MemoryEnv env;
  env.files["/robot/cell/Vornette.ini"] = "[Indent]\nIndentWidth=4\n";
  env.files["/opt/vornette/Vornette.ini"] = "[Indent]\nIndentWidth=3\n";
  std::vector<json> sent;
  LanguageServer server(env, std::string(kShippedIni),
                        [&](std::string_view body) { sent.push_back(json::parse(body)); });
  const auto receive = [&](const std::string& body) {
    server.Receive({FramedMessage::Kind::kBody, body});
  };
  receive(Initialize(false, {{"rootUri", "file:///robot/cell"}}));
  // The indentation of the second line tells which Vornette.ini counted.
  const auto indentation = [&](const std::string& uri) {
    receive(Notice("textDocument/didOpen",
                   {{"textDocument", {{"uri", uri}, {"text", "def a()\nx=1\nend"}}}}));
    receive(Request(2, "textDocument/formatting", {{"textDocument", Doc(uri)}}));
    for (const json& edit : sent.back()["result"]) {
      if (edit["range"]["start"]["line"] == 1)
        return edit["newText"].get<std::string>().find_first_not_of(' ');
    }
    return std::string::npos;
  };
  EXPECT_EQ(indentation("file:///robot/cell/sub%20dir/a.src"), 4u);
  EXPECT_EQ(indentation("untitled:Untitled-1"), 4u);      // from the workspace folder
  EXPECT_EQ(indentation("file:///elsewhere/b.src"), 3u);  // beside the program
  env.files["/robot/cell/Vornette.ini"] = "[Indent]\nIndentWidth=5\n";
  EXPECT_EQ(indentation("file:///robot/cell/sub%20dir/a.src"), 5u);  // read again
  env.files.erase("/opt/vornette/Vornette.ini");
  EXPECT_EQ(indentation("file:///elsewhere/b.src"), 2u);  // built in
  // A file that begins with a byte-order mark, which the editor holds apart
  // from the text: the first word is no block word behind it (shipped rules).
  env.files["/elsewhere/marked.src"] =
      "\xEF\xBB\xBF"
      "def a()\nx=1\nend";
  receive(Notice("textDocument/didOpen",
                 {{"textDocument",
                   {{"uri", "file:///elsewhere/marked.src"}, {"text", "def a()\nx=1\nend"}}}}));
  receive(Request(4, "textDocument/formatting",
                  {{"textDocument", Doc("file:///elsewhere/marked.src")}}));
  EXPECT_EQ(sent.back()["result"][0], Edit(0, 7, "def A()"));
  // Enter with trailing blanks trimmed: the new line still gets the
  // indentation of its place, where the user is about to type.
  std::string trimming(kShippedIni);
  trimming.replace(trimming.find("TrimTrailingBlanks=0"), 20, "TrimTrailingBlanks=1");
  env.files["/trim/Vornette.ini"] = trimming;
  receive(Notice("textDocument/didOpen",
                 {{"textDocument",
                   {{"uri", "file:///trim/a.src"}, {"text", "def a()\nif x then  \n\t\nend"}}}}));
  receive(Request(
      5, "textDocument/onTypeFormatting",
      {{"textDocument", Doc("file:///trim/a.src")}, {"position", Pos(2, 1)}, {"ch", "\n"}}));
  EXPECT_EQ(sent.back()["result"], json({Edit(1, 11, "  IF X THEN"), Edit(2, 1, "    ")}));
  // An indentation no editor could take is refused before it is made.
  env.files["/wide/Vornette.ini"] = "[Indent]\nIndentWidth=80000000\n";
  receive(
      Notice("textDocument/didOpen",
             {{"textDocument", {{"uri", "file:///wide/a.src"}, {"text", "def a()\nx=1\nend"}}}}));
  receive(Request(6, "textDocument/formatting", {{"textDocument", Doc("file:///wide/a.src")}}));
  EXPECT_EQ(Summary(sent[sent.size() - 2]), "log");
  EXPECT_EQ(sent.back()["result"], json::array());
  env.read_failures["/robot/cell/Vornette.ini"] = FileResult::kReadFailed;
  receive(Request(3, "textDocument/formatting",
                  {{"textDocument", Doc("file:///robot/cell/sub%20dir/a.src")}}));
  EXPECT_EQ(Summary(sent[sent.size() - 2]), "log");
  EXPECT_EQ(sent.back()["result"], json::array());
}

}  // namespace
}  // namespace vornette
