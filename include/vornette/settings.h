// The settings record of a run, filled once from Vornette.ini.
#ifndef VORNETTE_VORNETTE_SETTINGS_H_
#define VORNETTE_VORNETTE_SETTINGS_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace vornette {

// How the words of one keyword category are rewritten.
enum class CapitalizationMode : uint8_t { None = 0, UpperCase = 1, LowerCase = 2 };

// The eight keyword groups, always handled in this order.
enum class KeywordCategory : uint8_t {
  ProgramFlow,
  SetupCommand,
  MotionCommand,
  MathAndFunction,
  IOCommand,
  TypeDefinition,
  SystemVariable,
  OpusTechFunction,
};

inline constexpr size_t kKeywordCategoryCount = 8;

// How the lines of a written file end: always CR LF, always LF, or as the
// file's own first line end (LF, or CR LF for CR LF and a lone CR), with a
// line end after the last line only where the file had one.
enum class LineEndingMode : uint8_t { CRLF = 0, LF = 1, Auto = 2 };

// All settings of a run. Written only by LoadConfiguration, read by the pass.
struct FormatterSettings {
  bool SpacingOperators = true;
  int32_t IndentWidth = 2;
  // One mode per KeywordCategory, indexed by the category.
  std::array<CapitalizationMode, kKeywordCategoryCount> Capitalization{};
  // Blocks beyond the classic first-word rule: GLOBAL routines, spline,
  // SKIP, TIME_BLOCK and CONST_VEL blocks, and a first line behind a UTF-8
  // byte-order mark.
  bool ExtendedBlocks = false;
  // When false, routine and data-list boundaries open and close no level.
  bool IndentRoutineBodies = true;
  // When true, a line that begins with ";" in the file stays in column one.
  bool KeepColumnOneComments = false;
  // The line ends of every text written.
  LineEndingMode LineEnding = LineEndingMode::CRLF;
  // When true, blanks and TABs at the end of a line go, unless they stand in
  // a string literal left open at the end of the line's code.
  bool TrimTrailingBlanks = false;
  // When false, ;FOLD and ;ENDFOLD open and close no level.
  bool IndentFolds = true;
  // When true, the "=" of consecutive assignments at one indentation stand
  // in one column.
  bool AlignAssignments = false;

  CapitalizationMode ModeOf(KeywordCategory category) const {
    return Capitalization[static_cast<size_t>(category)];
  }
  bool operator==(const FormatterSettings&) const = default;
};

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_SETTINGS_H_
