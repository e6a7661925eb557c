#include "basic/file_result.h"

#include "basic/basic.h"
#include "basic/constants.h"

namespace vornette {

std::string FileFailureText(FileResult result, std::string_view name) {
  switch (result) {
    case FileResult::kOk:
      return std::string();
    case FileResult::kOpenFailed:
      return Substitute(kOpenFailureText, {name});
    case FileResult::kReadFailed:
      return std::string(kReadFailureText);
    case FileResult::kCreateFailed:
      return Substitute(kCreateFailureText, {name});
    case FileResult::kShortWrite:
      return std::string(kShortWriteText);
    case FileResult::kNoMemory:
      return std::string(kOutOfMemoryText);
  }
  return std::string();
}

}  // namespace vornette
