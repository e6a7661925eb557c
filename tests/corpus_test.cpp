// The program over copies of real KRL programs, twice, as a user would run it.
#include <gtest/gtest.h>

#include <filesystem>

#include "basic/basic.h"
#include "basic/constants.h"
#include "reference/reference.h"
#include "tests/memory_env.h"
#include "tests/run_program.h"
#include "vornette/vornette.h"

namespace vornette::testing {
namespace {

namespace fs = std::filesystem;

// Copies the sample programs into `folder` of the sandbox, writable as a
// user's own copies are, and returns their names there.
std::vector<std::string> CopyCorpus(const Sandbox& box, const std::string& folder) {
  fs::copy(CorpusDir(), box.Path(folder), fs::copy_options::recursive);
  std::vector<std::string> names;
  for (const std::string& file : FilesBelow(box.Path(folder))) {
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    if (!file.ends_with(".md")) names.push_back(fs::relative(file, box.Path("")).string());
  }
  return names;
}

// With the shipped Vornette.ini (every stage on, the indentation keys at
// their defaults): backups hold the lines as read, no line is added or lost,
// a second run changes nothing, and vornette-format gives the same bytes.
TEST(CorpusTest, BackupsLinesSecondRunsAndVornetteFormatAgree) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  Sandbox box;
  box.SetIni(ReadBytes((fs::path(VORNETTE_BINARY).parent_path() / "Vornette.ini").string()));
  const std::vector<std::string> names = CopyCorpus(box, "krl");
  ASSERT_GT(names.size(), 600u);
  std::vector<std::string> originals;
  for (const std::string& name : names) originals.push_back(box.ReadFile(name));
  // A hundred names a run: a Windows command line holds at most 32767 bytes.
  auto run_all = [&] {
    for (size_t start = 0; start < names.size(); start += 100) {
      const std::vector<std::string> batch(names.begin() + start,
                                           names.begin() + std::min(names.size(), start + 100));
      std::vector<std::string> expected = {std::string(kBanner)};
      for (const std::string& name : batch) {
        for (const std::string& line : FormattedLines(name)) expected.push_back(line);
      }
      const RunResult run = box.Run(batch);
      ASSERT_EQ(run.exit_status, 0);
      ASSERT_EQ(SplitConsoleLines(run.output), expected);
    }
  };
  run_all();
  std::vector<std::string> once;
  for (size_t i = 0; i < names.size(); ++i) {
    once.push_back(box.ReadFile(names[i]));
    std::string backup;
    for (const std::string& line : reference::CutLines(originals[i])) backup += line + "\r\n";
    EXPECT_EQ(box.ReadFile(names[i] + "~"), backup) << names[i];
    EXPECT_EQ(reference::CutLines(once.back()).size(), reference::CutLines(backup).size());
  }
  run_all();
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(box.ReadFile(names[i]), once[i]);

  box.AddProgram(VORNETTE_FORMAT_BINARY);
  const std::vector<std::string> again = CopyCorpus(box, "again");
  RunOptions format;
  format.program = fs::path(VORNETTE_FORMAT_BINARY).filename().string();
  ASSERT_EQ(box.Run({"-i", "--config", "bin/Vornette.ini", "again"}, format).exit_status, 0);
  for (size_t i = 0; i < names.size(); ++i) {
    // An unchanged file is left alone; vornette rewrites it all the same.
    const std::string bytes = box.ReadFile(again[i]);
    EXPECT_TRUE(bytes == once[i] || (bytes == originals[i] && once[i] == originals[i])) << again[i];
  }
}

// Under the extended rules a file of GLOBAL routines ends at level 0 when its
// routines are balanced: when the classic rules balance it once every GLOBAL
// before DEF or DEFFCT is gone (and the byte-order mark the classic rules do
// not know).
TEST(CorpusTest, GlobalRoutinesBalanceUnderTheExtendedRules) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  auto final_level = [](const std::vector<std::string>& lines, bool extended) {
    FormatterSettings settings;
    settings.ExtendedBlocks = extended;
    IndentState state;
    reference::FormatFile(lines, settings, &state);
    return state.IndentLevel;
  };
  int files = 0, balanced = 0, level_zero_classic = 0, level_zero_extended = 0;
  for (const std::string& file : FilesBelow(CorpusDir())) {
    const std::vector<std::string> lines = reference::CutLines(ReadBytes(file));
    std::vector<std::string> without_global;
    for (const std::string& line : lines) {
      const std::string_view trimmed = reference::TrimLeft(line);
      const std::string_view second = reference::SecondWord(trimmed);
      const bool global = SameTextNoCase(reference::FirstWord(trimmed), "GLOBAL") &&
                          (SameTextNoCase(second, "DEF") || SameTextNoCase(second, "DEFFCT"));
      without_global.push_back(global ? std::string(trimmed.substr(6)) : line);
    }
    if (without_global == lines) continue;
    ++files;
    if (without_global[0].starts_with("\xEF\xBB\xBF")) without_global[0].erase(0, 3);
    const bool is_balanced = final_level(without_global, false) == 0;
    const int64_t level = final_level(lines, true);
    EXPECT_EQ(level == 0, is_balanced) << file << " ends at " << level;
    balanced += is_balanced;
    level_zero_classic += final_level(lines, false) == 0;
    level_zero_extended += level == 0;
  }
  RecordProperty("files_balanced_classic_extended", std::to_string(files) + " " +
                                                        std::to_string(balanced) + " " +
                                                        std::to_string(level_zero_classic) + " " +
                                                        std::to_string(level_zero_extended));
}

// The layout keys on real programs, each against the shipped settings:
// line ends change nothing but line ends, trimming takes only blanks and
// TABs at line ends (those of open literals kept), alignment only blanks and
// TABs before an "=", and the shipped file holds every key at its default.
TEST(CorpusTest, LayoutKeysChangeOnlyWhatTheySay) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  const FormatterSettings shipped = SettingsFromIni(ReadBytes(VORNETTE_SOURCE_DIR "/Vornette.ini"));
  FormatterSettings defaults = SettingsFromIni("");
  defaults.Capitalization = shipped.Capitalization;
  ASSERT_TRUE(defaults == shipped);
  auto format = [&](std::string_view bytes, auto change) {
    FormatterSettings settings = shipped;
    change(settings);
    std::string formatted, error;
    EXPECT_TRUE(FormatText(bytes, settings, &formatted, &error)) << error;
    return formatted;
  };
  int changed_auto = 0, changed_crlf = 0, blank_ends_before = 0, blank_ends_after = 0, aligned = 0;
  for (const std::string& file : FilesBelow(CorpusDir())) {
    if (file.ends_with(".md")) continue;
    const std::string bytes = ReadBytes(file);
    const std::string crlf = format(bytes, [](FormatterSettings&) {});
    const std::string automatic =
        format(bytes, [](FormatterSettings& s) { s.LineEnding = LineEndingMode::Auto; });
    const std::vector<std::string> lines = reference::CutLines(crlf);
    std::vector<std::string> auto_lines = reference::CutLines(automatic);
    // A last line of blanks without a line end goes.
    if (auto_lines.size() + 1 == lines.size() && lines.back().empty()) auto_lines.emplace_back();
    EXPECT_EQ(auto_lines, lines) << file;
    changed_auto += automatic != bytes;
    changed_crlf += crlf != bytes;

    const std::string trimmed =
        format(bytes, [](FormatterSettings& s) { s.TrimTrailingBlanks = true; });
    const std::vector<std::string> trimmed_lines = reference::CutLines(trimmed);
    ASSERT_EQ(trimmed_lines.size(), lines.size()) << file;
    for (size_t i = 0; i < lines.size(); ++i) {
      const bool blank_end = lines[i].ends_with(' ') || lines[i].ends_with('\t');
      blank_ends_before += blank_end;
      blank_ends_after += trimmed_lines[i].ends_with(' ') || trimmed_lines[i].ends_with('\t');
      EXPECT_TRUE(blank_end ? lines[i].starts_with(trimmed_lines[i]) : trimmed_lines[i] == lines[i])
          << file;
    }

    const std::string aligned_text =
        format(bytes, [](FormatterSettings& s) { s.AlignAssignments = true; });
    const std::vector<std::string> aligned_lines = reference::CutLines(aligned_text);
    ASSERT_EQ(aligned_lines.size(), lines.size()) << file;
    for (size_t i = 0; i < lines.size(); ++i) {
      const size_t equals = lines[i].find('=');
      if (aligned_lines[i] == lines[i]) continue;
      const size_t moved = aligned_lines[i].find('=');
      EXPECT_NE(equals, std::string::npos) << file;
      EXPECT_EQ(aligned_lines[i].substr(moved), lines[i].substr(equals)) << file;
      EXPECT_EQ(aligned_lines[i].substr(0, moved).find_last_not_of(' '),
                lines[i].substr(0, equals).find_last_not_of(" \t"))
          << file;
    }
    aligned += aligned_text != crlf;
  }
  RecordProperty("changed_crlf_auto",
                 std::to_string(changed_crlf) + " " + std::to_string(changed_auto));
  RecordProperty("blank_ends_before_after",
                 std::to_string(blank_ends_before) + " " + std::to_string(blank_ends_after));
  RecordProperty("files_aligned", aligned);
}

}  // namespace
}  // namespace vornette::testing
