// The program over copies of real KRL programs, twice, as a user would run it.
#include <gtest/gtest.h>

#include <filesystem>

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

// With the shipped Vornette.ini: backups hold the lines as read, the
// results are the step-by-step pipeline's, a second run changes nothing, and
// vornette-format gives the same bytes.
TEST(CorpusTest, BackupsLinesSecondRunsAndVornetteFormatAgree) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  Sandbox box;
  const std::string ini =
      ReadBytes((fs::path(VORNETTE_BINARY).parent_path() / "Vornette.ini").string());
  box.SetIni(ini);
  const FormatterSettings shipped = SettingsFromIni(ini);
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
    const std::vector<std::string> lines = reference::CutLines(originals[i]);
    EXPECT_EQ(box.ReadFile(names[i] + "~"), reference::WriteLines(lines, "", LineEndingMode::CRLF));
    EXPECT_EQ(once.back(), reference::WriteLines(reference::FormatFile(lines, shipped), "",
                                                 LineEndingMode::CRLF))
        << names[i];
  }
  run_all();
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(box.ReadFile(names[i]), once[i]);

  box.AddProgram(VORNETTE_FORMAT_BINARY);
  const std::vector<std::string> again = CopyCorpus(box, "again");
  RunOptions format;
  format.program = fs::path(VORNETTE_FORMAT_BINARY).filename().string();
  ASSERT_EQ(box.Run({"-i", "--config", "bin/Vornette.ini", "again"}, format).exit_status, 0);
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(box.ReadFile(again[i]), once[i]);
}

}  // namespace
}  // namespace vornette::testing
