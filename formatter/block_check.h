// The block check: KRL's own pairing of block words, line by line, and the
// first line whose block word the indentation does not read as KRL does.
#ifndef VORNETTE_FORMATTER_BLOCK_CHECK_H_
#define VORNETTE_FORMATTER_BLOCK_CHECK_H_

#include <string_view>
#include <vector>

#include "vornette/block_warnings.h"
#include "vornette/settings.h"

namespace vornette {

// The warnings of the text `text` (cut into lines at CR LF, a lone CR or a
// lone LF) under `settings`, sorted by line, then column, a warning about
// the indentation first at its place. KRL's reading of the block words is
// the same whatever the settings; only the indentation's depends on them.
std::vector<BlockWarning> FindBlockWarnings(std::string_view text,
                                            const FormatterSettings& settings);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_BLOCK_CHECK_H_
