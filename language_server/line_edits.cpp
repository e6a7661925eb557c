#include "language_server/line_edits.h"

#include <algorithm>

#include "basic/basic.h"
#include "basic/byte_scan.h"

namespace vornette {
namespace {

// The text of the line that begins at `*at`, without its line end; moves
// `*at` past the line end.
std::string_view NextLineText(std::string_view text, size_t* at) {
  const size_t start = *at;
  const size_t stop = LineEndFrom(text, start);
  *at = NextLineStart(text, stop);
  return text.substr(start, stop - start);
}

// Where line `line` (from 0) of `text` begins and ends; false past the last.
bool LineBounds(std::string_view text, size_t line, size_t* start, size_t* end) {
  if (!OffsetOf(text, {line, 0}, PositionEncoding::kUtf8, start)) return false;
  *end = LineEndFrom(text, *start);
  return true;
}

// Compares the lines of `text` and of `formatted` (which has the same line
// ends, but may lack an emptied last line) in the stretch `range`, and
// appends an edit for each line that differs.
void AppendEdits(std::string_view text, std::string_view formatted, LineRange range,
                 PositionEncoding encoding, std::vector<LineEdit>* edits) {
  size_t at = 0, formatted_at = 0;
  for (size_t number = 1; number <= range.last && at < text.size(); ++number) {
    const std::string_view line = NextLineText(text, &at);
    const std::string_view result = NextLineText(formatted, &formatted_at);
    if (number < range.first || line == result || !IsValidUtf8(result)) continue;
    edits->push_back({number - 1, UnitsOf(line, encoding), std::string(result)});
  }
}

// The size of the whole text formatted with the indentation width `width`.
bool FormattedSize(std::string_view text, FormatterSettings settings, int32_t width, size_t* size,
                   std::string* error) {
  settings.IndentWidth = width;
  settings.LineEnding = LineEndingMode::LF;
  *size = 0;
  return FormatTextTo(
      text, settings, [&](std::string_view piece) { *size += piece.size(); }, error);
}

// False, with the reason in `error`, when the indentation is so wide that
// the formatted text would outgrow the largest message the server takes:
// no editor could take the edits, and making them could take all memory.
// Each line's blanks are its level times the width, so the size at width
// w is the size at width 1 and w - 1 times what one more blank a level adds.
bool FitsInAReply(std::string_view text, const FormatterSettings& settings, std::string* error) {
  constexpr size_t kMostBytes = size_t{64} << 20;
  constexpr int32_t kPlainlyNarrow = 64;
  if (settings.IndentWidth <= kPlainlyNarrow) return true;
  size_t one = 0, two = 0;
  if (!FormattedSize(text, settings, 1, &one, error) ||
      !FormattedSize(text, settings, 2, &two, error)) {
    return false;
  }
  const size_t per_width = two - one;
  const size_t extra_widths = static_cast<size_t>(settings.IndentWidth) - 1;
  if (one <= kMostBytes && (per_width == 0 || extra_widths <= (kMostBytes - one) / per_width)) {
    return true;
  }
  *error = "IndentWidth=" + std::to_string(settings.IndentWidth) +
           " makes the formatted text larger than 64 MiB";
  return false;
}

// FormatTextLines over `text`, behind the byte-order mark when its file has
// one; the result without it.
bool FormatLines(std::string_view text, const EditOptions& options,
                 std::span<const LineRange> ranges, std::string* formatted, std::string* error) {
  if (!FitsInAReply(text, options.settings, error)) return false;
  if (!options.byte_order_mark) {
    return FormatTextLines(text, options.settings, ranges, formatted, error);
  }
  std::string marked;
  marked.reserve(kByteOrderMark.size() + text.size());
  marked.append(kByteOrderMark).append(text);
  if (!FormatTextLines(marked, options.settings, ranges, formatted, error)) return false;
  if (std::string_view(*formatted).starts_with(kByteOrderMark))
    formatted->erase(0, kByteOrderMark.size());
  return true;
}

}  // namespace

bool FormattingEdits(std::string_view text, const EditOptions& options,
                     std::span<const LineRange> ranges, std::vector<LineEdit>* edits,
                     std::string* error) {
  edits->clear();
  std::string formatted;
  if (!FormatLines(text, options, ranges, &formatted, error)) return false;
  // The lines outside the ranges are equal, so one walk from the first
  // chosen line to the last compares what matters.
  LineRange span{static_cast<size_t>(-1), 0};
  for (const LineRange& range : ranges) {
    if (range.first > range.last) continue;
    span = {std::min(span.first, range.first), std::max(span.last, range.last)};
  }
  AppendEdits(text, formatted, span, options.encoding, edits);
  return true;
}

bool OnTypeEdits(std::string_view text, const EditOptions& options, size_t line,
                 std::vector<LineEdit>* edits, std::string* error) {
  edits->clear();
  size_t start = 0, end = 0;
  if (!LineBounds(text, line, &start, &end)) return false;
  const std::string_view typed = text.substr(start, end - start);
  const bool blank = typed.find_first_not_of(" \t") == std::string_view::npos;
  const LineRange lines{line == 0 ? 1 : line, line + 1};
  if (!blank) return FormattingEdits(text, options, {&lines, 1}, edits, error);
  // A line of blanks formats to no indentation at all; a word there tells
  // what indentation the block gives it, and a plain name changes no block.
  std::string probe;
  probe.reserve(text.size() + 1);
  // The blanks typed stay in front: a line that keeps its bytes (between
  // the markers) keeps them.
  probe.append(text.substr(0, end)).append("X").append(text.substr(end));
  std::string formatted;
  if (!FormatLines(probe, options, {&lines, 1}, &formatted, error)) return false;
  std::vector<LineEdit> probed;
  AppendEdits(probe, formatted, lines, options.encoding, &probed);
  for (LineEdit& edit : probed) {
    if (edit.line == line) continue;
    edits->push_back(std::move(edit));
  }
  size_t formatted_start = 0, formatted_end = 0;
  LineBounds(formatted, line, &formatted_start, &formatted_end);
  const std::string_view result = std::string_view(formatted).substr(formatted_start);
  const std::string indentation(result.substr(0, result.find_first_not_of(" \t")));
  if (indentation != typed) {
    edits->push_back({line, UnitsOf(typed, options.encoding), indentation});
  }
  return true;
}

}  // namespace vornette
