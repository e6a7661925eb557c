// Which files vornette-format works on when it is given a folder.
#ifndef VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_
#define VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_

#include <string>
#include <vector>

#include "platform/env.h"

namespace vornette {

// Appends every .src, .dat and .sub file below `folder` (the extension in
// any letter case) to `files`, in sorted order, each joined to `folder` as
// it was written; folders whose name begins with "." are skipped. False when
// a folder could not be read.
bool SourceFilesBelow(Env& env, const std::string& folder, std::vector<std::string>* files);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_SOURCE_FILES_H_
