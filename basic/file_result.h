// The outcome of a whole-file read or write, and the text a failure reports.
#ifndef VORNETTE_BASIC_FILE_RESULT_H_
#define VORNETTE_BASIC_FILE_RESULT_H_

#include <string>
#include <string_view>

namespace vornette {

enum class FileResult {
  kOk,
  kOpenFailed,    // the file cannot be opened for reading (refused, locked, gone)
  kReadFailed,    // the open succeeded but reading its bytes failed
  kCreateFailed,  // the file cannot be created or emptied (refused, locked, read-only)
  kShortWrite,    // fewer bytes were written than given
  kNoMemory,      // the bytes do not fit in memory
};

// The failure's own text for `result` on the file `name`; empty for kOk.
std::string FileFailureText(FileResult result, std::string_view name);

}  // namespace vornette

#endif  // VORNETTE_BASIC_FILE_RESULT_H_
