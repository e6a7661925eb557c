// Runs the program over copies of real KRL programs, as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include "basic/constants.h"
#include "formatter/indent.h"
#include "formatter/line_list.h"
#include "tests/run_program.h"

namespace vornette::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(const std::string& bytes) {
  LineList list;
  EXPECT_TRUE(CutIntoLines(bytes, &list));
  return list.Lines();
}

std::string WithCrLf(const std::string& bytes) {
  std::string text;
  for (const std::string& line : LinesOf(bytes)) text += line + "\r\n";
  return text;
}

// Copies every corpus file into the sandbox and returns their names there.
std::vector<std::string> CopyCorpus(const Sandbox& box) {
  const std::string corpus = CorpusDir();
  std::vector<std::string> names;
  for (const std::string& file : FilesBelow(corpus)) {
    const std::string name = "krl/" + fs::relative(file, corpus).string();
    if (name.ends_with(".md")) continue;
    fs::create_directories(fs::path(box.Path(name)).parent_path());
    fs::copy_file(file, box.Path(name));
    // The samples may be read-only; a user's own copies are writable.
    fs::permissions(box.Path(name), fs::perms::owner_read | fs::perms::owner_write);
    names.push_back(name);
  }
  return names;
}

TEST(CorpusTest, ReindentingChangesNothingButLeadingWhitespace) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  Sandbox box;
  box.SetIni("[Spacing]\nSpacingOperators=0\n");
  const std::vector<std::string> names = CopyCorpus(box);
  ASSERT_GT(names.size(), 600u);
  std::vector<std::string> originals;
  for (const std::string& name : names) originals.push_back(box.ReadFile(name));

  const RunResult run = box.Run(names);
  ASSERT_EQ(run.exit_status, 0);
  const std::vector<std::string> lines = OutputLines(run.output);
  ASSERT_EQ(lines.size(), 1 + 5 * names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    const std::vector<std::string> expected = FormattedLines(names[i]);
    ASSERT_EQ(std::vector<std::string>(lines.begin() + 1 + 5 * i, lines.begin() + 6 + 5 * i),
              expected);
    EXPECT_EQ(box.ReadFile(names[i] + "~"), WithCrLf(originals[i])) << names[i];
    const std::vector<std::string> before = LinesOf(originals[i]);
    const std::vector<std::string> after = LinesOf(box.ReadFile(names[i]));
    ASSERT_EQ(before.size(), after.size()) << names[i];
    for (size_t k = 0; k < before.size(); ++k) {
      ASSERT_EQ(TrimLeft(before[k]), TrimLeft(after[k])) << names[i] << ":" << k + 1;
    }
  }
}

}  // namespace
}  // namespace vornette::testing
