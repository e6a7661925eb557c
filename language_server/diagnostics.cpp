#include "language_server/diagnostics.h"

#include "basic/basic.h"

namespace vornette {
namespace {

using nlohmann::json;

constexpr int kSeverityWarning = 2;

// One code a kind, for the editor to show and for users to search.
const char* CodeOf(BlockWarningKind kind) {
  switch (kind) {
    case BlockWarningKind::kClosesNothing:
      return "closes-no-block";
    case BlockWarningKind::kNotClosedBefore:
      return "not-closed-before";
    case BlockWarningKind::kNeverClosed:
      return "never-closed";
    case BlockWarningKind::kOutside:
      return "outside-block";
    case BlockWarningKind::kNotIndentedAsBlock:
      return "not-indented-as-block";
  }
  return "";
}

// The range of `span`, found in `checked` but counted in the client's
// text, which lacks the first `mark` bytes.
json RangeOf(std::string_view checked, const TextSpan& span, size_t mark,
             PositionEncoding encoding) {
  const size_t line_start = span.offset - (span.column - 1);
  const size_t from = std::max(line_start, mark);
  const size_t start = UnitsOf(checked.substr(from, span.offset - from), encoding);
  const size_t end = start + UnitsOf(checked.substr(span.offset, span.length), encoding);
  const size_t line = span.line - 1;
  return {{"start", {{"line", line}, {"character", start}}},
          {"end", {{"line", line}, {"character", end}}}};
}

}  // namespace

json BlockDiagnostics(std::string_view text, const std::string& uri, const EditOptions& options,
                      bool related_information) {
  std::string marked;
  std::string_view checked = text;
  if (options.byte_order_mark) {
    marked.assign(kByteOrderMark).append(text);
    checked = marked;
  }
  std::vector<BlockWarning> warnings;
  std::string error;
  json diagnostics = json::array();
  if (!CheckBlocks(checked, options.settings, &warnings, &error)) return diagnostics;
  // A mark in the client's own text is a character of it; one put in front
  // here is not.
  const size_t hidden = options.byte_order_mark ? kByteOrderMark.size() : 0;
  for (const BlockWarning& warning : warnings) {
    json diagnostic = {{"range", RangeOf(checked, warning.at, hidden, options.encoding)},
                       {"severity", kSeverityWarning},
                       {"code", CodeOf(warning.kind)},
                       {"source", "vornette"},
                       {"message", warning.text}};
    if (warning.closer && related_information) {
      diagnostic["relatedInformation"] =
          json::array({{{"location",
                         {{"uri", uri},
                          {"range", RangeOf(checked, *warning.closer, hidden, options.encoding)}}},
                        {"message", "the closing word that ends the block around it"}}});
    }
    diagnostics.push_back(std::move(diagnostic));
  }
  return diagnostics;
}

}  // namespace vornette
