// The documents a client has open, each held once, as the client sent it.
#ifndef VORNETTE_LANGUAGE_SERVER_DOCUMENTS_H_
#define VORNETTE_LANGUAGE_SERVER_DOCUMENTS_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "language_server/positions.h"

namespace vornette {

// A stretch of a document, from `start` up to `end`.
struct TextRange {
  Position start;
  Position end;
};

class OpenDocuments {
 public:
  // The document `uri` holds `text` (a document opened again is replaced).
  void Open(const std::string& uri, std::string text) { texts_[uri] = std::move(text); }

  // Replaces `range` of the document `uri`, or its whole text when there is
  // no range, by `text`. False, with the reason in `error`, when the
  // document is not open or the range does not lie in it; the document
  // stays as it was then.
  bool Change(const std::string& uri, const std::optional<TextRange>& range, std::string_view text,
              PositionEncoding encoding, std::string* error);

  void Close(const std::string& uri) { texts_.erase(uri); }

  // The text of the document `uri`; null when it is not open.
  const std::string* Find(const std::string& uri) const {
    const auto found = texts_.find(uri);
    return found == texts_.end() ? nullptr : &found->second;
  }

 private:
  std::map<std::string, std::string> texts_;
};

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_DOCUMENTS_H_
