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

// With the shipped Vornette.ini (every stage on, every other key at its
// default): backups hold the lines as read, the results are the classic
// step-by-step pipeline's, a second run changes nothing, and vornette-format
// gives the same bytes.
TEST(CorpusTest, BackupsLinesSecondRunsAndVornetteFormatAgree) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  Sandbox box;
  const std::string ini =
      ReadBytes((fs::path(VORNETTE_BINARY).parent_path() / "Vornette.ini").string());
  box.SetIni(ini);
  const FormatterSettings shipped = SettingsFromIni(ini);
  FormatterSettings defaults = SettingsFromIni("");
  defaults.Capitalization = shipped.Capitalization;
  ASSERT_TRUE(shipped == defaults);
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
    const std::vector<std::string> lines = reference::CutLines(originals[i]);
    EXPECT_EQ(once.back(), reference::WriteLines(reference::FormatFile(lines, shipped),
                                                 originals[i], LineEndingMode::CRLF));
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

}  // namespace
}  // namespace vornette::testing
