#include "formatter/pipeline.h"

#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "basic/basic.h"
#include "formatter/assignments.h"
#include "formatter/capitalization.h"
#include "formatter/frozen_regions.h"
#include "formatter/spacing.h"
#include "formatter/trailing_blanks.h"

namespace vornette {

bool AnyCapitalization(const FormatterSettings& settings) {
  for (CapitalizationMode mode : settings.Capitalization) {
    if (mode == CapitalizationMode::UpperCase || mode == CapitalizationMode::LowerCase) return true;
  }
  return false;
}

namespace {

// The pipeline for one line, inlined into the loop over a file's lines.
[[gnu::always_inline]] inline IndentedLine FormatOneLine(std::string_view line,
                                                         const FormatterSettings& settings,
                                                         bool recase, IndentState& state,
                                                         ByteBuffer& scratch) {
  std::string_view current = line;
  if (settings.SpacingOperators || recase) {
    // The scratch keeps its largest size from line to line, and its room is
    // only touched as far as a line fills it.
    scratch.Reserve(SpacedLengthBound(line.size()));
    size_t length;
    if (settings.SpacingOperators) {
      length = SpaceOperators(line, scratch.data());
    } else {
      length = line.size();
      std::memcpy(scratch.data(), line.data(), length);
    }
    if (recase) {
      ApplyCapitalizations(std::span<char>(scratch.data(), length), settings.Capitalization);
    }
    current = std::string_view(scratch.data(), length);
  }
  const bool column_one = settings.KeepColumnOneComments && line.starts_with(';');
  return IndentLine(current, state, settings, column_one);
}

// The indented line without the blanks and TABs that end it; a line of
// blanks only keeps none of them, not even its indentation.
IndentedLine WithoutTrailingBlanks(IndentedLine line) {
  line.text = TrimTrailingBlanks(line.text);
  if (line.text.empty()) line.blanks = 0;
  return line;
}

// The line with the byte-order mark in front, built in `into`.
IndentedLine WithByteOrderMark(IndentedLine line, std::string& into) {
  into.assign(kByteOrderMark).append(line.blanks, ' ').append(line.text);
  return IndentedLine{0, into};
}

}  // namespace

IndentedLine FormatLine(std::string_view line, const FormatterSettings& settings, bool recase,
                        IndentState& state, ByteBuffer& scratch) {
  const IndentedLine formatted = FormatOneLine(line, settings, recase, state, scratch);
  return settings.TrimTrailingBlanks ? WithoutTrailingBlanks(formatted) : formatted;
}

LineList FormatLines(LineList lines, const FormatterSettings& settings) {
  IndentState state;
  ByteBuffer scratch;
  // The settings do not change within a file: decide once whether to recase.
  const bool recase = AnyCapitalization(settings);
  // Under the extended rules a UTF-8 byte-order mark is no part of the first
  // line: the line is formatted without it, and it is put back in front,
  // after the alignment, which sees the line without it.
  bool first = settings.ExtendedBlocks;
  bool mark_pending = false;
  std::string first_line;
  const bool align = settings.AlignAssignments;
  // A line between the markers keeps its bytes, but the counters run on as
  // if it were formatted, so the lines after the region stand where they
  // would without the markers.
  FrozenRegions regions;
  if (!align && !settings.TrimTrailingBlanks) {
    lines.RewriteLines([&](std::string_view line) __attribute__((always_inline)) {
      if (regions.Keep(line)) {
        FormatOneLine(line, settings, recase, state, scratch);
        return IndentedLine{0, line};
      }
      if (!first || !line.starts_with(kByteOrderMark)) {
        first = false;
        const IndentedLine formatted = FormatOneLine(line, settings, recase, state, scratch);
        regions.Formatted(line, formatted.text);
        return formatted;
      }
      first = false;
      // Written out rather than through WithByteOrderMark: a call here, even
      // on this cold path, costs the loop around it 1% (measured).
      const IndentedLine formatted =
          FormatOneLine(line.substr(kByteOrderMark.size()), settings, recase, state, scratch);
      regions.Formatted(line, formatted.text);
      first_line.assign(kByteOrderMark).append(formatted.blanks, ' ').append(formatted.text);
      return IndentedLine{0, first_line};
    });
    return lines;
  }
  // The layout keys: each line trimmed, and noted for the alignment, as it
  // is formatted.
  // The aligner never sees a frozen line: the marker lines around a region
  // end any run. The second pass knows the frozen lines by number.
  AssignmentAligner aligner;
  std::vector<bool> frozen;
  lines.RewriteLines([&](std::string_view line) {
    const bool marked = first && line.starts_with(kByteOrderMark);
    first = false;
    const bool keep = regions.Keep(line);
    if (align) frozen.push_back(keep);
    const IndentedLine formatted = FormatLine(line.substr(marked ? kByteOrderMark.size() : 0),
                                              settings, recase, state, scratch);
    if (keep) return IndentedLine{0, line};
    regions.Formatted(line, formatted.text);
    if (!align) return marked ? WithByteOrderMark(formatted, first_line) : formatted;
    aligner.Observe(formatted.blanks, formatted.text);
    mark_pending = mark_pending || marked;
    return formatted;
  });
  if (!align) return lines;
  lines.MakeRoomInFront();
  size_t number = 0;
  lines.RewriteLines([&](std::string_view line) {
    if (frozen[number++]) {
      aligner.Align({});
      return IndentedLine{0, line};
    }
    const IndentedLine aligned = aligner.Align(line);
    if (!mark_pending) return aligned;
    mark_pending = false;
    return WithByteOrderMark(aligned, first_line);
  });
  return lines;
}

}  // namespace vornette
