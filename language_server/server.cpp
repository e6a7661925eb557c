#include "language_server/server.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "basic/basic.h"
#include "language_server/diagnostics.h"
#include "language_server/edits_reply.h"
#include "language_server/file_uri.h"
#include "language_server/line_edits.h"
#include "settings_discovery/ignore_files.h"
#include "settings_discovery/settings_finder.h"
#include "vornette/vornette.h"

namespace vornette {
namespace {

using nlohmann::json;

// The protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;

constexpr int kLogWarning = 2;

// A request whose parameters are not what its method takes.
struct BadParams {
  std::string message;
};

// A request understood, but not carried out: the message says why.
struct Refused {
  std::string message;
};

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

const json& Member(const json& object, const char* name) {
  if (!object.is_object() || !object.contains(name)) {
    throw BadParams{std::string("missing \"") + name + "\""};
  }
  return object[name];
}

const std::string& StringMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  if (!value.is_string()) throw BadParams{std::string("\"") + name + "\" is not a string"};
  return value.get_ref<const std::string&>();
}

size_t UintegerMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  if (!value.is_number_unsigned()) {
    throw BadParams{std::string("\"") + name + "\" is not a non-negative integer"};
  }
  return value.get<size_t>();
}

Position PositionMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  return {UintegerMember(value, "line"), UintegerMember(value, "character")};
}

TextRange RangeOf(const json& range) {
  return {PositionMember(range, "start"), PositionMember(range, "end")};
}

// The lines (from 1) that a range covers: a range that ends at the first
// character of a later line does not take that line.
LineRange LinesOf(const TextRange& range) {
  const size_t last = range.end.character == 0 && range.end.line > range.start.line
                          ? range.end.line
                          : range.end.line + 1;
  return {range.start.line + 1, last};
}

bool IsId(const json& id) { return id.is_number_integer() || id.is_string(); }

// The top-level "id" of a JSON object of which only the first bytes are
// known; null when they do not show one.
json IdInPrefix(std::string_view prefix) {
  json id;
  bool id_next = false;
  const auto note = [&](int depth, json::parse_event_t event, json& value) {
    if (depth != 1) return true;
    if (event == json::parse_event_t::key) {
      id_next = value == "id";
    } else if (event == json::parse_event_t::value) {
      if (id_next && IsId(value)) id = value;
      id_next = false;
    }
    return true;
  };
  const json ignored = json::parse(prefix.begin(), prefix.end(), note, false);
  (void)ignored;
  return id;
}

}  // namespace

class LanguageServer::Impl {
 public:
  static void Send(LanguageServer& server, const json& message) {
    // Every text sent is UTF-8 already; a path decoded from a URI may not
    // be, and must not take the server down.
    server.send_(message.dump(-1, ' ', false, json::error_handler_t::replace));
  }

  static void Reply(LanguageServer& server, const json& id, json result) {
    Send(server, {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
  }

  static void ReplyEdits(LanguageServer& server, const json& id,
                         const std::vector<LineEdit>& edits) {
    server.send_(EditsReply(id.dump(), edits));
  }

  static void Fail(LanguageServer& server, const json& id, int code, const std::string& message) {
    Send(server,
         {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
  }

  static void Log(LanguageServer& server, const std::string& message) {
    Send(server, {{"jsonrpc", "2.0"},
                  {"method", "window/logMessage"},
                  {"params", {{"type", kLogWarning}, {"message", "vornette-format: " + message}}}});
  }

  static void Receive(LanguageServer& server, const FramedMessage& framed) {
    if (framed.kind == FramedMessage::Kind::kBadHeader) {
      return Log(server, "bytes without a message header were skipped");
    }
    if (framed.kind == FramedMessage::Kind::kTooLarge) {
      const json id = IdInPrefix(framed.body);
      if (id.is_null()) return Log(server, "a message longer than 64 MiB was skipped");
      return Fail(server, id, kInvalidRequest, "the message is longer than 64 MiB");
    }
    const json message = json::parse(framed.body, nullptr, false);
    if (message.is_discarded()) return Fail(server, nullptr, kParseError, "the body is not JSON");
    const bool has_id = message.is_object() && message.contains("id");
    const json id = has_id && IsId(message["id"]) ? message["id"] : json();
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
      // A reply: the server asks nothing, so it waits for none.
      if (has_id && (message.contains("result") || message.contains("error"))) return;
      return Fail(server, id, kInvalidRequest, "neither a request nor a notification");
    }
    const std::string& method = message["method"].get_ref<const std::string&>();
    const json params = message.contains("params") ? message["params"] : json::object();
    if (!has_id) return Notification(server, method, params);
    if (id.is_null())
      return Fail(server, nullptr, kInvalidRequest, "the id is no number or string");
    Request(server, id, method, params);
  }

  static void Request(LanguageServer& server, const json& id, const std::string& method,
                      const json& params) {
    if (!server.initialized_ && method != "initialize") {
      return Fail(server, id, kServerNotInitialized, "initialize comes first");
    }
    if (server.shut_down_) return Fail(server, id, kInvalidRequest, "the server was shut down");
    if (method == "initialize" && server.initialized_) {
      return Fail(server, id, kInvalidRequest, "initialize comes once");
    }
    try {
      if (method == "initialize") return Reply(server, id, Initialize(server, params));
      if (method == "shutdown") {
        server.shut_down_ = true;
        return Reply(server, id, nullptr);
      }
      if (method == "textDocument/formatting") {
        return ReplyEdits(server, id, Format(server, params, {{1, static_cast<size_t>(-1)}}));
      }
      if (method == "textDocument/rangeFormatting") {
        return ReplyEdits(server, id,
                          Format(server, params, {LinesOf(RangeOf(Member(params, "range")))}));
      }
      if (method == "textDocument/rangesFormatting") {
        const json& ranges = Member(params, "ranges");
        if (!ranges.is_array()) throw BadParams{"\"ranges\" is not a list"};
        std::vector<LineRange> lines;
        for (const json& range : ranges) lines.push_back(LinesOf(RangeOf(range)));
        return ReplyEdits(server, id, Format(server, params, lines));
      }
      if (method == "textDocument/onTypeFormatting") {
        return ReplyEdits(server, id, OnType(server, params));
      }
      if (method == "vornette/settings") return Reply(server, id, SettingsOf(server, params));
    } catch (const Refused& refused) {
      return Fail(server, id, kRequestFailed, refused.message);
    } catch (const BadParams& bad) {
      return Fail(server, id, kInvalidParams, method + ": " + bad.message);
    } catch (const json::exception& bad) {
      return Fail(server, id, kInvalidParams, method + ": " + bad.what());
    }
    Fail(server, id, kMethodNotFound, "no method " + method);
  }

  static void Notification(LanguageServer& server, const std::string& method, const json& params) {
    if (method == "exit") {
      server.exited_ = true;
      return;
    }
    // Before initialize, notifications are dropped, as the protocol says.
    if (!server.initialized_) return;
    try {
      if (method == "textDocument/didOpen") {
        const json& document = Member(params, "textDocument");
        server.documents_.Open(StringMember(document, "uri"), StringMember(document, "text"));
        Publish(server, document);
      } else if (method == "textDocument/didChange") {
        Change(server, params);
        Publish(server, params["textDocument"]);
      } else if (method == "textDocument/didClose") {
        const json& document = Member(params, "textDocument");
        server.documents_.Close(StringMember(document, "uri"));
        Publish(server, document);
      }
    } catch (const BadParams& bad) {
      Log(server, method + ": " + bad.message);
    } catch (const json::exception& bad) {
      Log(server, method + ": " + bad.what());
    }
  }

  // The block warnings of an open document, with its version; an empty
  // list for one that was closed. Nothing when the client turned them off.
  static void Publish(LanguageServer& server, const json& document) {
    if (!server.diagnostics_) return;
    const std::string& uri = document["uri"].get_ref<const std::string&>();
    json published = {{"uri", uri}, {"diagnostics", json::array()}};
    IgnoreVerdict ignored;
    if (const std::string* text = server.documents_.Find(uri)) {
      EditOptions options;
      if (!Ignored(server, uri, &ignored) && OptionsFor(server, uri, *text, &options)) {
        published["diagnostics"] =
            BlockDiagnostics(*text, uri, options, server.related_information_);
      }
      if (document.contains("version") && document["version"].is_number_integer()) {
        published["version"] = document["version"];
      }
    }
    Send(server, {{"jsonrpc", "2.0"},
                  {"method", "textDocument/publishDiagnostics"},
                  {"params", std::move(published)}});
  }

  static json Initialize(LanguageServer& server, const json& params) {
    if (!params.is_object()) throw BadParams{"the parameters are no object"};
    server.encoding_ = PositionEncoding::kUtf16;
    const json options = params.value("initializationOptions", json::object());
    server.diagnostics_ = !(options.is_object() && options.value("diagnostics", true) == false);
    server.related_information_ =
        params.value(
            "/capabilities/textDocument/publishDiagnostics/relatedInformation"_json_pointer,
            false) == true;
    const json general = params.value("/capabilities/general"_json_pointer, json::object());
    if (general.is_object() && general.contains("positionEncodings") &&
        general["positionEncodings"].is_array()) {
      for (const json& offered : general["positionEncodings"]) {
        if (offered == "utf-8") server.encoding_ = PositionEncoding::kUtf8;
      }
    }
    // The first workspace folder, else the root the older fields name.
    std::string path;
    if (params.contains("workspaceFolders") && params["workspaceFolders"].is_array() &&
        !params["workspaceFolders"].empty()) {
      const json& first = params["workspaceFolders"][0];
      if (first.is_object() && first.contains("uri") && first["uri"].is_string() &&
          LocalPath(server, first["uri"].get_ref<const std::string&>(), &path)) {
        server.root_ = path;
      }
    }
    if (!server.root_ && params.contains("rootUri") && params["rootUri"].is_string() &&
        LocalPath(server, params["rootUri"].get_ref<const std::string&>(), &path)) {
      server.root_ = path;
    }
    if (!server.root_ && params.contains("rootPath") && params["rootPath"].is_string() &&
        server.env_.PathFromUtf8(params["rootPath"].get_ref<const std::string&>(), &path)) {
      server.root_ = path;
    }
    server.initialized_ = true;
    return {
        {"capabilities",
         {{"positionEncoding", server.encoding_ == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
          {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
          {"documentFormattingProvider", true},
          {"documentRangeFormattingProvider", {{"rangesSupport", true}}},
          {"documentOnTypeFormattingProvider", {{"firstTriggerCharacter", "\n"}}}}},
        {"serverInfo", {{"name", "vornette-format"}, {"version", std::string(kVersion)}}}};
  }

  static void Change(LanguageServer& server, const json& params) {
    const std::string& uri = StringMember(Member(params, "textDocument"), "uri");
    const json& changes = Member(params, "contentChanges");
    if (!changes.is_array()) throw BadParams{"\"contentChanges\" is not a list"};
    for (const json& change : changes) {
      std::optional<TextRange> range;
      if (change.is_object() && change.contains("range")) range = RangeOf(change["range"]);
      std::string error;
      if (!server.documents_.Change(uri, range, StringMember(change, "text"), server.encoding_,
                                    &error)) {
        throw BadParams{error};
      }
    }
  }

  static bool Windows(LanguageServer& server) {
    return server.env_.PathSeparators().find('\\') != std::string_view::npos;
  }

  // The path of the file that the `file:` URI `uri` names, in the form the
  // system's file calls take.
  static bool LocalPath(LanguageServer& server, const std::string& uri, std::string* path) {
    std::string utf8;
    return PathOfFileUri(uri, Windows(server), &utf8) && server.env_.PathFromUtf8(utf8, path);
  }

  static const std::string& DocumentOf(LanguageServer& server, const json& params) {
    const std::string& uri = StringMember(Member(params, "textDocument"), "uri");
    const std::string* text = server.documents_.Find(uri);
    if (text == nullptr) throw BadParams{"the document " + uri + " is not open"};
    return *text;
  }

  // The path the settings of the document `uri` are looked up for: its
  // file's, or for a document without one, a file in the workspace folder.
  // `file` says which.
  static std::string SettingsPath(LanguageServer& server, const std::string& uri, bool* file) {
    std::string path;
    *file = LocalPath(server, uri, &path);
    return *file ? path : server.root_.value_or(server.env_.CurrentFolder()) + "/untitled";
  }

  // True when the document's file is one a .vornetteignore leaves out, or
  // one whose .vornetteignore cannot be read (which leaves it alone too,
  // and is logged); then `verdict` says which pattern decided.
  static bool Ignored(LanguageServer& server, const std::string& uri, IgnoreVerdict* verdict) {
    std::string path, error;
    if (!LocalPath(server, uri, &path)) return false;
    if (IgnoreFiles(server.env_).Check(path, false, verdict, &error)) return verdict->ignored;
    Log(server, uri + ": " + error);
    return true;
  }

  // Settings as vornette-format finds them for the document's file, read
  // afresh each time so that an edited Vornette.ini counts at once; for a
  // document without a file, as for a file in the workspace folder. The
  // file on disk, read into `saved` (when given), also tells whether it
  // begins with a byte-order mark.
  static bool OptionsFor(LanguageServer& server, const std::string& uri, std::string_view text,
                         EditOptions* options, ByteBuffer* saved = nullptr) {
    bool file = false;
    const std::string path = SettingsPath(server, uri, &file);
    SettingsFinder finder(server.env_, std::nullopt, server.builtin_);
    FoundSettings found;
    std::string error;
    if (!finder.For(path, &found, &error)) {
      Log(server, uri + ": " + error);
      return false;
    }
    options->settings = found.settings;
    options->encoding = server.encoding_;
    ByteBuffer read;
    if (saved == nullptr) saved = &read;
    if (!file || server.env_.ReadWholeFile(path, saved) != FileResult::kOk) saved->Resize(0);
    options->byte_order_mark =
        !text.starts_with(kByteOrderMark) && saved->view().starts_with(kByteOrderMark);
    return true;
  }

  // Which Vornette.ini governs the document `uri`, open or not: its path
  // and URI, or nulls for the built-in settings.
  static json SettingsOf(LanguageServer& server, const json& params) {
    const std::string& uri = StringMember(Member(params, "textDocument"), "uri");
    bool file = false;
    SettingsFinder finder(server.env_, std::nullopt, server.builtin_);
    FoundSettings found;
    std::string error, utf8;
    if (!finder.For(SettingsPath(server, uri, &file), &found, &error)) {
      throw Refused{uri + ": " + error};
    }
    json answer = {{"path", nullptr}, {"uri", nullptr}, {"ignored", nullptr}};
    if (found.source != kBuiltinSource && server.env_.PathToUtf8(found.source, &utf8)) {
      answer["path"] = utf8;
      answer["uri"] = FileUriOfPath(utf8, Windows(server));
    }
    IgnoreVerdict verdict;
    // A .vornetteignore that cannot be read leaves the document alone, but
    // names no pattern.
    if (Ignored(server, uri, &verdict) && verdict.ignored &&
        server.env_.PathToUtf8(verdict.file, &utf8)) {
      answer["ignored"] = {{"path", utf8},
                           {"uri", FileUriOfPath(utf8, Windows(server))},
                           {"line", verdict.line},
                           {"pattern", verdict.pattern}};
    }
    return answer;
  }

  // Refuses to format a document that the editor decoded as UTF-8 although
  // its file is not UTF-8: every byte it could not decode stands as U+FFFD
  // in the text, and formatting would make that loss look intended. A file
  // that holds U+FFFD itself is valid UTF-8 and is formatted.
  // `saved` is the file's bytes, empty when there is no file or it cannot
  // be read.
  static void RefuseWronglyDecoded(LanguageServer& server, const std::string& uri,
                                   std::string_view text, const ByteBuffer& saved) {
    if (text.find(kReplacementCharacter) == std::string_view::npos || saved.empty() ||
        IsValidUtf8(saved.view())) {
      return;
    }
    std::string shown;
    if (!PathOfFileUri(uri, Windows(server), &shown)) shown = uri;
    throw Refused{shown +
                  " was decoded as UTF-8, but it is not UTF-8: the characters shown as U+FFFD "
                  "stand for bytes that saving would replace. Re-open it with its encoding "
                  "(VS Code: \"Reopen with Encoding\", Western (Windows 1252); Vim: :e "
                  "++enc=cp1252) and format it then."};
  }

  static std::vector<LineEdit> Format(LanguageServer& server, const json& params,
                                      const std::vector<LineRange>& lines) {
    const std::string& text = DocumentOf(server, params);
    const std::string& uri = params["textDocument"]["uri"].get_ref<const std::string&>();
    CheckLines(text, lines);
    IgnoreVerdict ignored;
    if (Ignored(server, uri, &ignored)) return {};
    EditOptions options;
    ByteBuffer saved;
    if (!OptionsFor(server, uri, text, &options, &saved)) return {};
    RefuseWronglyDecoded(server, uri, text, saved);
    std::vector<LineEdit> edits;
    std::string error;
    if (!FormattingEdits(text, options, lines, &edits, &error)) {
      Log(server, uri + " is not formatted: " + error);
    }
    return edits;
  }

  static std::vector<LineEdit> OnType(LanguageServer& server, const json& params) {
    const std::string& text = DocumentOf(server, params);
    const std::string& uri = params["textDocument"]["uri"].get_ref<const std::string&>();
    const Position position = PositionMember(params, "position");
    const std::string& typed = StringMember(params, "ch");
    CheckLines(text, {{position.line + 1, position.line + 1}});
    EditOptions options;
    IgnoreVerdict ignored;
    ByteBuffer saved;
    if (typed != "\n" || Ignored(server, uri, &ignored) ||
        !OptionsFor(server, uri, text, &options, &saved)) {
      return {};
    }
    RefuseWronglyDecoded(server, uri, text, saved);
    std::vector<LineEdit> edits;
    std::string error;
    if (!OnTypeEdits(text, options, position.line, &edits, &error)) {
      Log(server, uri + " is not formatted: " + error);
    }
    return edits;
  }

  // Refuses lines past the document's last line.
  static void CheckLines(const std::string& text, const std::vector<LineRange>& lines) {
    size_t last = 0;
    for (const LineRange& range : lines) {
      last = std::max({last, range.first, range.last == static_cast<size_t>(-1) ? 0 : range.last});
    }
    size_t offset = 0;
    if (last > 0 && !OffsetOf(text, {last - 1, 0}, PositionEncoding::kUtf8, &offset)) {
      throw BadParams{"line " + std::to_string(last - 1) + " is past the document's end"};
    }
  }
};

void LanguageServer::Receive(const FramedMessage& message) { Impl::Receive(*this, message); }

int RunLanguageServer(Env& env, std::string_view builtin_ini) {
  bool open = true;
  LanguageServer server(env, builtin_ini, [&](std::string_view body) {
    open = open && env.WriteStdout(FrameMessage(body));
  });
  MessageReader reader;
  std::vector<char> piece(size_t{1} << 16);
  FramedMessage message;
  while (open) {
    while (reader.Next(&message)) {
      server.Receive(message);
      if (server.Exited()) return server.ExitStatus();
    }
    const size_t got = env.ReadStdinSome(piece.data(), piece.size());
    if (got == 0) break;
    reader.Feed({piece.data(), got});
  }
  return server.ExitStatus();
}

}  // namespace vornette
