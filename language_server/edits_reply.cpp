#include "language_server/edits_reply.h"

namespace vornette {

void AppendJsonString(std::string_view text, std::string* json) {
  static constexpr char kHex[] = "0123456789abcdef";
  json->push_back('"');
  size_t plain = 0;  // where the bytes not yet copied begin
  for (size_t at = 0; at < text.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    json->append(text.substr(plain, at - plain));
    plain = at + 1;
    switch (c) {
      case '"':
        json->append("\\\"");
        break;
      case '\\':
        json->append("\\\\");
        break;
      case '\t':
        json->append("\\t");
        break;
      case '\n':
        json->append("\\n");
        break;
      case '\r':
        json->append("\\r");
        break;
      default:
        json->append("\\u00");
        json->push_back(kHex[c >> 4]);
        json->push_back(kHex[c & 15]);
    }
  }
  json->append(text.substr(plain));
  json->push_back('"');
}

std::string EditsReply(std::string_view id_json, const std::vector<LineEdit>& edits) {
  std::string json = "{\"jsonrpc\":\"2.0\",\"id\":";
  json.append(id_json).append(",\"result\":[");
  for (const LineEdit& edit : edits) {
    const std::string line = std::to_string(edit.line);
    if (&edit != edits.data()) json.push_back(',');
    json.append("{\"range\":{\"start\":{\"line\":").append(line);
    json.append(",\"character\":0},\"end\":{\"line\":").append(line);
    json.append(",\"character\":").append(std::to_string(edit.units));
    json.append("}},\"newText\":");
    AppendJsonString(edit.text, &json);
    json.push_back('}');
  }
  json.append("]}");
  return json;
}

}  // namespace vornette
