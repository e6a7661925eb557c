// The reply to a formatting request, written as text directly: built as a
// JSON tree first, a reply of many thousand edits cost ten times what the
// formatting itself does.
#ifndef VORNETTE_LANGUAGE_SERVER_EDITS_REPLY_H_
#define VORNETTE_LANGUAGE_SERVER_EDITS_REPLY_H_

#include <string>
#include <string_view>
#include <vector>

#include "language_server/line_edits.h"

namespace vornette {

// Appends `text`, which is UTF-8, as a JSON string: quotes, backslashes and
// control characters escaped, everything else as it is.
void AppendJsonString(std::string_view text, std::string* json);

// The body of the reply with the id `id_json` (already JSON) whose result
// is the list of `edits`.
std::string EditsReply(std::string_view id_json, const std::vector<LineEdit>& edits);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_EDITS_REPLY_H_
