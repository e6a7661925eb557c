// The per-line pipeline: operator spacing, keyword capitalization, then the
// indentation step, each stage given the result of the one before.
#ifndef VORNETTE_FORMATTER_PIPELINE_H_
#define VORNETTE_FORMATTER_PIPELINE_H_

#include <string_view>

#include "basic/byte_buffer.h"
#include "formatter/indent.h"
#include "formatter/line_list.h"
#include "vornette/settings.h"

namespace vornette {

// Runs the pipeline on `line` (as read from the file), updating `state`.
// `recase` says whether any category is to be recased, which the settings
// decide once per file. `scratch` is working space, reused from line to line
// so that no line allocates; the result's text lies in `line` or `scratch`.
IndentedLine FormatLine(std::string_view line, const FormatterSettings& settings, bool recase,
                        IndentState& state, ByteBuffer& scratch);

// True when the settings ask for any category to be recased.
bool AnyCapitalization(const FormatterSettings& settings);

// Runs the pipeline on every line of `lines`, in order, with one IndentState
// for the whole file, and returns the formatted lines (in the same memory,
// where they fit). Throws std::bad_alloc as IndentLine does.
LineList FormatLines(LineList lines, const FormatterSettings& settings);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_PIPELINE_H_
