// The file a `file:` URI names.
#ifndef VORNETTE_LANGUAGE_SERVER_FILE_URI_H_
#define VORNETTE_LANGUAGE_SERVER_FILE_URI_H_

#include <string>
#include <string_view>

namespace vornette {

// Puts the path that the `file:` URI `uri` names in `path`, its percent
// escapes decoded. With `windows` a drive letter loses the slash before it
// (file:///c%3A/robot/x.src is c:/robot/x.src) and a host names a share
// (file://server/share/x.src is //server/share/x.src); elsewhere only an
// empty host or "localhost" is this machine. False for any other URI, a
// broken escape or an escaped NUL.
bool PathOfFileUri(std::string_view uri, bool windows, std::string* path);

// The `file:` URI of the absolute UTF-8 path `path`, every byte but letters,
// digits, "-._~" and "/" percent-encoded. With `windows` a backslash
// separates folders too, a drive path gets a slash before it and a path
// that begins with two separators names a share on its host; the inverse
// of PathOfFileUri.
std::string FileUriOfPath(std::string_view path, bool windows);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_FILE_URI_H_
