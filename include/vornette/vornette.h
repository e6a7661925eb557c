// The Vornette library: KUKA KRL source text formatted exactly as the
// vornette program formats it, as plain functions over bytes.
//
//   vornette::FormatterSettings settings = vornette::SettingsFromIni(ini_text);
//   std::string formatted, error;
//   if (!vornette::FormatText(source, settings, &formatted, &error)) ...
//
// Text is bytes in any single-byte or UTF-8 encoding; nothing depends on the
// locale, so every machine gives the same bytes.
#ifndef VORNETTE_VORNETTE_VORNETTE_H_
#define VORNETTE_VORNETTE_VORNETTE_H_

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vornette/block_warnings.h"
#include "vornette/settings.h"

namespace vornette {

// The version of the library and of its programs.
inline constexpr std::string_view kVersion = "0.4.0";

// The settings that the INI text `ini_text` gives, read as vornette reads its
// Vornette.ini: the same lookup (names in any letter case, the first section
// and key of a name, no comments after values), and each setting's default
// when its key is missing or its value unusable. Never fails.
FormatterSettings SettingsFromIni(std::string_view ini_text);

// The settings of the INI file at `path`, as SettingsFromIni reads them.
// False, with the reason in `error`, when the file cannot be read.
bool LoadSettings(const std::string& path, FormatterSettings* settings, std::string* error);

// The text of a Vornette.ini that gives `settings`, every key present: what
// SettingsFromIni reads back as the same settings.
std::string SettingsToIni(const FormatterSettings& settings);

// The bytes that vornette saves for a source file holding `bytes`: the bytes
// cut into lines at CR LF, a lone CR or a lone LF, every line spaced,
// recased and indented by `settings`, every line followed by CR LF. Only
// leading blanks, blanks around operators, letter case of keywords and line
// ends ever change; the number of lines never does. False, with the reason in
// `error`, when the bytes hold a NUL byte (not single-byte text) or memory
// runs out (an indentation beyond the 32-bit range counts as that).
bool FormatText(std::string_view bytes, const FormatterSettings& settings, std::string* formatted,
                std::string* error);

// As FormatText, but hands the formatted bytes to `write` piece by piece, in
// order, instead of collecting them: a large text is never held twice.
bool FormatTextTo(std::string_view bytes, const FormatterSettings& settings,
                  const std::function<void(std::string_view)>& write, std::string* error);

// A stretch of lines, counted from 1, both ends included.
struct LineRange {
  size_t first;
  size_t last;
};

// The bytes `bytes` with the lines that `ranges` select (any number, in any
// order, overlapping or not; lines past the last are none) given what
// formatting the whole text gives them, indentation, alignment and every
// other setting computed over the whole text; every other byte stays,
// line ends included (LineEnding does not apply). Two exceptions keep the
// lines as they are: a line ending with LF directly after one ending with a
// lone CR keeps its text where formatting would empty it (the two line ends
// would read as one CR LF), and a last line without a line end that formats
// to nothing goes. False, with the reason in `error`, as FormatText.
bool FormatTextLines(std::string_view bytes, const FormatterSettings& settings,
                     std::span<const LineRange> ranges, std::string* formatted, std::string* error);

// The places in `bytes` (cut into lines as FormatText cuts them) where block
// words do not pair up, and the first line whose block word the indentation
// under `settings` does not read as one, sorted by line, then column. The
// block words pair as KRL reads them, in two nests checked apart: the folds,
// and all the others. False, with the reason in `error`, as FormatText.
bool CheckBlocks(std::string_view bytes, const FormatterSettings& settings,
                 std::vector<BlockWarning>* warnings, std::string* error);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_VORNETTE_H_
