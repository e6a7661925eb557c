#include "language_server/documents.h"

namespace vornette {

bool OpenDocuments::Change(const std::string& uri, const std::optional<TextRange>& range,
                           std::string_view text, PositionEncoding encoding, std::string* error) {
  const auto found = texts_.find(uri);
  if (found == texts_.end()) {
    *error = "the document " + uri + " is not open";
    return false;
  }
  std::string& document = found->second;
  if (!range) {
    document.assign(text);
    return true;
  }
  size_t start = 0, end = 0;
  if (!OffsetOf(document, range->start, encoding, &start) ||
      !OffsetOf(document, range->end, encoding, &end)) {
    *error = "a change of " + uri + " reaches past its last line";
    return false;
  }
  if (end < start) {
    *error = "a change of " + uri + " ends before it starts";
    return false;
  }
  document.replace(start, end - start, text);
  return true;
}

}  // namespace vornette
