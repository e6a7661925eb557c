// Formatting results as the edits an editor applies: one edit a changed
// line, from its first character to its end, never over a line end, so the
// lines, their ends, cursors and marks all stay where they are.
#ifndef VORNETTE_LANGUAGE_SERVER_LINE_EDITS_H_
#define VORNETTE_LANGUAGE_SERVER_LINE_EDITS_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language_server/positions.h"
#include "vornette/vornette.h"

namespace vornette {

// The line `line` (from 0) gets `text` in place of its first `units`
// characters, which are all it has.
struct LineEdit {
  size_t line;
  size_t units;
  std::string text;
};

// How a document is formatted: by what settings, counting positions in
// which unit, and whether its file begins with a byte-order mark, which
// editors hold apart from the text but which the formatter reads (a
// block word behind it is no block word).
struct EditOptions {
  FormatterSettings settings;
  PositionEncoding encoding = PositionEncoding::kUtf16;
  bool byte_order_mark = false;
};

// The edits that give the lines `ranges` (from 1) of the UTF-8 text `text`
// what FormatTextLines gives them. A line whose result would not be UTF-8
// stays as it is. False, with the reason in `error`, as FormatTextLines.
bool FormattingEdits(std::string_view text, const EditOptions& options,
                     std::span<const LineRange> ranges, std::vector<LineEdit>* edits,
                     std::string* error);

// The edits after a line end was typed before line `line` (from 0): the
// line before it formatted, and `line` itself formatted too, or given just
// the indentation of its place when it holds nothing but blanks and TABs.
bool OnTypeEdits(std::string_view text, const EditOptions& options, size_t line,
                 std::vector<LineEdit>* edits, std::string* error);

}  // namespace vornette

#endif  // VORNETTE_LANGUAGE_SERVER_LINE_EDITS_H_
