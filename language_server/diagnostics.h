// Block warnings as the protocol's diagnostics.
#ifndef VORNETTE_LANGUAGE_SERVER_DIAGNOSTICS_H_
#define VORNETTE_LANGUAGE_SERVER_DIAGNOSTICS_H_

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "language_server/line_edits.h"

namespace vornette {

// The Diagnostic objects for the block warnings of the UTF-8 document
// `text` of `uri`, checked as its file would be (with the byte-order mark
// in front that the editor holds apart), each range in the document's text
// as the client sent it, in the unit of `options`. A closing word that cut
// a block short is named as related information when the client takes it.
// An empty list when the text cannot be checked (it holds a NUL).
nlohmann::json BlockDiagnostics(std::string_view text, const std::string& uri,
                                const EditOptions& options, bool related_information);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_DIAGNOSTICS_H_
