// Runs the program over copies of real KRL programs, as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "basic/basic.h"
#include "basic/constants.h"
#include "formatter/guarded_replace.h"
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

// The runs of bytes of `line` that lie in a comment or a string literal, in
// order: the text that formatting must never change.
std::vector<std::string> ProtectedRuns(std::string_view line) {
  std::vector<std::string> runs;
  ProtectionScanner scanner(line);
  bool open = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const bool is_protected = scanner.IsProtected(i);
    if (is_protected && !open) runs.emplace_back();
    if (is_protected) runs.back().push_back(line[i]);
    open = is_protected;
  }
  return runs;
}

// `line` with a ";FOLD" or ";ENDFOLD" that begins its comment in upper case:
// that word is a keyword, whose case capitalization may change.
std::string FoldWordUpper(std::string_view line) {
  std::string text(line);
  const size_t semicolon = text.find(';');
  if (semicolon == std::string::npos) return text;
  const std::string_view word = FirstWord(std::string_view(text).substr(semicolon));
  if (SameTextNoCase(word, ";fold") || SameTextNoCase(word, ";endfold")) {
    for (size_t i = semicolon; i < semicolon + word.size(); ++i) text[i] = ToUpperAscii(text[i]);
  }
  return text;
}

std::string FromFirstSemicolon(std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon == std::string_view::npos ? "" : std::string(line.substr(semicolon));
}

struct Setting {
  std::string name;
  std::string ini;
};

void PrintTo(const Setting& setting, std::ostream* out) { *out << setting.name; }

class CorpusSettingsTest : public ::testing::TestWithParam<Setting> {};

// Formats the corpus, then formats the results again: the second run must
// change nothing, and the first must leave every comment and literal as it
// was.
TEST_P(CorpusSettingsTest, KeepsCommentsAndLiteralsAndIsIdempotent) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no KRL corpus on this machine";
  Sandbox box;
  box.SetIni(GetParam().ini);
  const std::vector<std::string> names = CopyCorpus(box);
  std::vector<std::string> originals;
  for (const std::string& name : names) originals.push_back(box.ReadFile(name));

  RunResult run = box.Run(names);
  ASSERT_EQ(run.exit_status, 0);
  ASSERT_EQ(OutputLines(run.output).size(), 1 + 5 * names.size());
  std::vector<std::string> once;
  for (size_t i = 0; i < names.size(); ++i) {
    once.push_back(box.ReadFile(names[i]));
    const std::vector<std::string> before = LinesOf(originals[i]);
    const std::vector<std::string> after = LinesOf(once.back());
    ASSERT_EQ(before.size(), after.size()) << names[i];
    for (size_t k = 0; k < before.size(); ++k) {
      const std::string in = FoldWordUpper(before[k]);
      const std::string out = FoldWordUpper(after[k]);
      ASSERT_EQ(FromFirstSemicolon(in), FromFirstSemicolon(out)) << names[i] << ":" << k + 1;
      ASSERT_EQ(ProtectedRuns(in), ProtectedRuns(out)) << names[i] << ":" << k + 1;
    }
  }

  run = box.Run(names);
  ASSERT_EQ(run.exit_status, 0);
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(box.ReadFile(names[i] + "~"), once[i]) << names[i];
    EXPECT_EQ(box.ReadFile(names[i]), once[i]) << names[i];
  }
}

std::string AllCategories(std::string_view mode) {
  std::string ini = "[Capitalization]\n";
  for (std::string_view key :
       {"CAP_ProgramFlowStrings", "CAP_SetupCommandStrings", "CAP_MotionCommandStrings",
        "CAP_MathAndFunctionStrings", "CAP_IOCommandStrings", "CAP_TypeDefinitionStrings",
        "CAP_SystemVariableStrings", "CAP_OpusTechFunctionStrings"}) {
    ini += std::string(key) + "=" + std::string(mode) + "\n";
  }
  return ini;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CorpusSettingsTest,
    ::testing::Values(
        Setting{"UpperWithSpacing", "[Spacing]\nSpacingOperators=1\n" + AllCategories("UpperCase")},
        Setting{"LowerWithSpacing", "[Spacing]\nSpacingOperators=1\n" + AllCategories("LowerCase")},
        Setting{"PlainWithoutSpacing", "[Spacing]\nSpacingOperators=0\n"}),
    [](const ::testing::TestParamInfo<Setting>& info) { return info.param.name; });

}  // namespace
}  // namespace vornette::testing
