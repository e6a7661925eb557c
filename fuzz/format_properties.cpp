#include "fuzz/format_properties.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "basic/basic.h"
#include "formatter/capitalization.h"
#include "formatter/pipeline.h"
#include "formatter/spacing.h"
#include "fuzz/fuzz_check.h"
#include "reference/reference.h"
#include "vornette/vornette.h"

namespace vornette {
namespace {

// The settings drawn from the first four bytes, every key among them.
constexpr size_t kSettingsBytes = 4;

FormatterSettings SettingsFromFuzzBytes(const uint8_t* data) {
  FormatterSettings settings;
  settings.SpacingOperators = data[0] & 1;
  settings.ExtendedBlocks = data[0] & 2;
  settings.IndentRoutineBodies = !(data[0] & 4);
  settings.KeepColumnOneComments = data[0] & 8;
  settings.IndentWidth = static_cast<int32_t>(data[0] >> 4) % 9 - 2;
  for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
    const unsigned bits = (data[1] | (data[2] << 8)) >> (2 * c);
    settings.Capitalization[c] = static_cast<CapitalizationMode>(bits % 3);
  }
  settings.LineEnding = static_cast<LineEndingMode>((data[3] & 3) % 3);
  settings.TrimTrailingBlanks = data[3] & 4;
  settings.IndentFolds = !(data[3] & 8);
  settings.AlignAssignments = data[3] & 16;
  return settings;
}

bool HasControlByteOtherThanTab(std::string_view line) {
  for (char c : line) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) return true;
  }
  return false;
}

// A joint with two blanks on one side is not completed, but the collapse
// leaves one blank there, so the next run completes it.
bool HasJointLeftForTheNextRun(std::string_view line) {
  const std::string upper = reference::UpperCase(line);
  for (std::string_view joint : {") OR(", ")OR (", ") AND(", ")AND ("}) {
    if (upper.find(joint) != std::string::npos) return true;
  }
  return false;
}

std::string WithoutBlanksFolded(std::string_view line) {
  std::string result;
  for (char c : line) {
    if (c != ' ') result.push_back(ToUpperAscii(c));
  }
  return result;
}

std::string WithoutLayoutFolded(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') result.push_back(ToUpperAscii(c));
  }
  return result;
}

std::string_view FromFirstSemicolon(std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon);
}

void CheckLine(std::string_view line, const FormatterSettings& settings) {
  // Capitalization keeps the length and changes only letter case.
  std::string recased(line);
  ApplyCapitalizations(std::span<char>(recased.data(), recased.size()), settings.Capitalization);
  FUZZ_CHECK(recased.size() == line.size());
  FUZZ_CHECK(SameTextNoCase(recased, line));
  // Spacing changes nothing from the first ";" on, and only blanks and case
  // elsewhere (placeholder bytes aside, which become their operators).
  std::string spaced(SpacedLengthBound(line.size()), '\0');
  spaced.resize(SpaceOperators(line, spaced.data()));
  FUZZ_CHECK(FromFirstSemicolon(spaced) == FromFirstSemicolon(line));
  if (line.find_first_of("\xF0\xF2\xF3\xF7") == std::string_view::npos) {
    FUZZ_CHECK(WithoutBlanksFolded(spaced) == WithoutBlanksFolded(line));
  }
}

// The lines of `text`, each with its line end.
std::vector<std::pair<std::string_view, std::string_view>> LinesWithEnds(std::string_view text) {
  std::vector<std::pair<std::string_view, std::string_view>> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const size_t next =
        text.compare(end, 2, "\r\n") == 0 ? end + 2 : std::min(end + 1, text.size());
    lines.emplace_back(text.substr(start, end - start), text.substr(end, next - end));
    start = next;
  }
  return lines;
}

// Two ranges drawn from the settings bytes: the chosen lines get the whole
// file's result, every other line its own bytes, every line its own end,
// but for the two exceptions (an emptied line behind a lone CR, an emptied
// last line without a line end).
void CheckLineRanges(const uint8_t* data, std::string_view bytes, const FormatterSettings& settings,
                     const std::vector<std::string>& whole) {
  const size_t n = whole.size() + 2;
  const LineRange ranges[] = {{1 + data[1] % n, 1 + data[1] % n + data[2] % 4},
                              {1 + data[3] % n, 1 + data[3] % n + data[0] % 8}};
  std::string formatted, error;
  FUZZ_CHECK(FormatTextLines(bytes, settings, ranges, &formatted, &error));
  const auto before = LinesWithEnds(bytes);
  const auto after = LinesWithEnds(formatted);
  FUZZ_CHECK(before.size() == whole.size());
  FUZZ_CHECK(after.size() == before.size() || after.size() + 1 == before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    const size_t line = i + 1;
    const bool chosen = std::any_of(std::begin(ranges), std::end(ranges), [&](const LineRange& r) {
      return r.first <= line && line <= r.last;
    });
    const bool kept =
        whole[i].empty() && i > 0 && before[i - 1].second == "\r" && before[i].second == "\n";
    if (i == after.size()) {
      FUZZ_CHECK(chosen && whole[i].empty() && before[i].second.empty());
      break;
    }
    FUZZ_CHECK(after[i].second == before[i].second);
    FUZZ_CHECK(after[i].first == (chosen && !kept ? std::string_view(whole[i]) : before[i].first));
  }
}

// The step-by-step forms on the first lines, as many as fit in
// `reference_bytes`.
void CheckPrefixAgainstReference(std::string_view bytes, const FormatterSettings& settings,
                                 size_t reference_bytes) {
  size_t end = 0;
  for (const auto& [text, line_end] : LinesWithEnds(bytes)) {
    if (end + text.size() + line_end.size() > reference_bytes) break;
    end += text.size() + line_end.size();
  }
  const std::string_view prefix = bytes.substr(0, end);
  const std::string written =
      reference::TextOf(FormatLines(reference::ListOf(prefix, settings.LineEnding), settings));
  const std::vector<std::string> expected =
      reference::FormatFile(reference::CutLines(prefix), settings);
  FUZZ_CHECK(written == reference::WriteLines(expected, prefix, settings.LineEnding));
}

// Every block warning stands on a block word inside its line, the closer
// of a block cut short after it; they come sorted, with at most one about
// the indentation, first at its place.
void CheckBlockWarnings(std::string_view bytes, const FormatterSettings& settings,
                        const std::vector<std::string>& lines) {
  std::vector<BlockWarning> warnings;
  std::string error;
  FUZZ_CHECK(CheckBlocks(bytes, settings, &warnings, &error));
  const auto inside = [&](const TextSpan& at) {
    FUZZ_CHECK(at.line >= 1 && at.line <= lines.size() && at.column >= 1 && at.length >= 1);
    const std::string& line = lines[at.line - 1];
    FUZZ_CHECK(at.column - 1 + at.length <= line.size());
    FUZZ_CHECK(bytes.substr(at.offset - (at.column - 1), line.size()) == line);
  };
  size_t indentation_warnings = 0;
  for (size_t i = 0; i < warnings.size(); ++i) {
    const BlockWarning& warning = warnings[i];
    inside(warning.at);
    FUZZ_CHECK(!warning.text.empty());
    FUZZ_CHECK(warning.closer.has_value() == (warning.kind == BlockWarningKind::kNotClosedBefore));
    if (warning.closer) {
      inside(*warning.closer);
      FUZZ_CHECK(warning.closer->line > warning.at.line);
    }
    indentation_warnings += warning.kind == BlockWarningKind::kNotIndentedAsBlock;
    if (i == 0) continue;
    const TextSpan& before = warnings[i - 1].at;
    FUZZ_CHECK(before.line < warning.at.line ||
               (before.line == warning.at.line && before.column <= warning.at.column));
    FUZZ_CHECK(before.line != warning.at.line ||
               warning.kind != BlockWarningKind::kNotIndentedAsBlock);
  }
  FUZZ_CHECK(indentation_warnings <= 1);
}

// A line between an "off" and the next "on" marker comes out as it went in;
// every other line but the markers as in the same file whose markers say
// nothing (their colon made a dot), since the counters run on through a
// region and a marker line, a comment, ends any run of assignments.
void CheckFrozenRegions(std::string_view bytes, const FormatterSettings& settings,
                        const std::vector<std::string>& lines) {
  std::vector<int> markers;
  for (const std::string& line : lines) markers.push_back(reference::MarkerKind(line));
  if (std::all_of(markers.begin(), markers.end(), [](int marker) { return marker == 0; })) return;
  std::string unmarked(bytes);
  size_t i = 0;
  for (const auto& [text, end] : LinesWithEnds(bytes)) {
    if (markers[i++] != 0) {
      const size_t at = static_cast<size_t>(text.data() - bytes.data());
      unmarked[at + reference::UpperCase(text).find("VORNETTE:") + 8] = '.';
    }
  }
  FormatterSettings every_end = settings;
  every_end.LineEnding = LineEndingMode::CRLF;
  std::string marked_text, unmarked_text, error;
  FUZZ_CHECK(FormatText(bytes, every_end, &marked_text, &error));
  FUZZ_CHECK(FormatText(unmarked, every_end, &unmarked_text, &error));
  const std::vector<std::string> marked = reference::CutLines(marked_text),
                                 plain = reference::CutLines(unmarked_text);
  FUZZ_CHECK(marked.size() == lines.size() && plain.size() == lines.size());
  bool off = false;
  for (i = 0; i < lines.size(); ++i) {
    const bool kept = off && markers[i] != 2;
    FUZZ_CHECK(kept ? marked[i] == lines[i] : markers[i] != 0 || marked[i] == plain[i]);
    off = off ? markers[i] != 2 : markers[i] == 1;
  }
}

}  // namespace

void CheckFormatProperties(const uint8_t* data, size_t size, size_t reference_bytes) {
  // Settings bytes that are missing count as zero, so that even the empty
  // input formats something.
  uint8_t head[kSettingsBytes] = {};
  const size_t given = std::min(size, kSettingsBytes);
  std::copy(data, data + given, head);
  const FormatterSettings settings = SettingsFromFuzzBytes(head);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + given, size - given);
  std::string written, error;
  if (bytes.find('\0') != std::string_view::npos) {
    FUZZ_CHECK(!FormatText(bytes, settings, &written, &error));
    std::vector<BlockWarning> warnings;
    FUZZ_CHECK(!CheckBlocks(bytes, settings, &warnings, &error));
    return;
  }
  const std::vector<std::string> lines = reference::CutLines(bytes);
  FUZZ_CHECK(FormatText(bytes, settings, &written, &error));
  // The library's other way gives the same bytes.
  std::string pieces;
  FUZZ_CHECK(FormatTextTo(
      bytes, settings, [&](std::string_view piece) { pieces.append(piece); }, &error));
  FUZZ_CHECK(pieces == written);
  // One line out per line in; where line ends are the file's own, a last
  // line that formats to nothing goes, and CR LF line ends show it again.
  std::vector<std::string> results = reference::CutLines(written);
  if (settings.LineEnding == LineEndingMode::Auto && results.size() + 1 == lines.size()) {
    FormatterSettings every_end = settings;
    every_end.LineEnding = LineEndingMode::CRLF;
    std::string ended;
    FUZZ_CHECK(FormatText(bytes, every_end, &ended, &error));
    results = reference::CutLines(ended);
    FUZZ_CHECK(results.back().empty());
  }
  FUZZ_CHECK(results.size() == lines.size());

  bool idempotent_input = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckLine(lines[i], settings);
    idempotent_input = idempotent_input && !HasControlByteOtherThanTab(lines[i]);
    idempotent_input = idempotent_input && !HasJointLeftForTheNextRun(results[i]);
  }
  // Only blanks, TABs, letter case and line ends change (placeholder bytes
  // aside, which become their operators, and control bytes the left trim
  // takes away).
  if (idempotent_input && bytes.find_first_of("\xF0\xF2\xF3\xF7") == std::string_view::npos) {
    FUZZ_CHECK(WithoutLayoutFolded(written) == WithoutLayoutFolded(bytes));
  }
  // Formatting the output again gives the output; but under the extended
  // rules, blanks trimmed from before the three bytes of a byte-order mark
  // make them the file's mark, which the next run reads as one.
  const bool mark_made = settings.ExtendedBlocks && !bytes.starts_with(kByteOrderMark) &&
                         written.starts_with(kByteOrderMark);
  if (idempotent_input && !mark_made) {
    FUZZ_CHECK(reference::TextOf(FormatLines(reference::ListOf(written, settings.LineEnding),
                                             settings)) == written);
  }
  CheckFrozenRegions(bytes, settings, lines);
  CheckLineRanges(head, bytes, settings, results);
  CheckBlockWarnings(bytes, settings, lines);
  CheckPrefixAgainstReference(bytes, settings, reference_bytes);
}

}  // namespace vornette
