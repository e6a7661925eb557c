// Which files vornette-format works on when it is given a folder.
#ifndef VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_
#define VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/env.h"

namespace vornette {

// Appends every .src, .dat and .sub file below `folder` (the extension in
// any letter case) to `files`, in sorted order, each joined to `folder` as
// it was written; folders whose name begins with "." are skipped, and those
// and files for which `keep(path, folder)` says false. False when a folder
// could not be read.
bool SourceFilesBelow(Env& env, const std::string& folder,
                      const std::function<bool(const std::string&, bool)>& keep,
                      std::vector<std::string>* files);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_
