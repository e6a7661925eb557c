// The per-line pipeline: operator spacing, keyword capitalization, then the
// indentation step, each stage given the result of the one before.
#ifndef VORNETTE_FORMATTER_PIPELINE_H_
#define VORNETTE_FORMATTER_PIPELINE_H_

#include <string>
#include <string_view>

#include "basic/byte_buffer.h"
#include "config/settings.h"
#include "formatter/indent.h"
#include "formatter/line_list.h"

namespace vornette {

// Runs the pipeline on `line` and appends the result to `out`. `scratch` is
// working space, reused from line to line so that no line allocates.
void FormatLine(std::string_view line, const FormatterSettings& settings, IndentState& state,
                ByteBuffer& scratch, LineList& out);

// Runs the pipeline on `line` and returns the result.
std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state);

// Runs the pipeline on every line of `lines`, in order, with one IndentState
// for the whole file, and returns the formatted lines (in the same memory,
// where they fit).
LineList FormatLines(LineList lines, const FormatterSettings& settings);

}  // namespace vornette

#endif  // VORNETTE_FORMATTER_PIPELINE_H_
