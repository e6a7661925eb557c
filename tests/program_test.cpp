// Runs the built program in scratch folders, as a user would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "basic/constants.h"
#include "tests/run_program.h"

namespace vornette::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr char kPlainIni[] = "[Spacing]\nSpacingOperators=0\n[Indent]\nIndentWidth=2\n";
constexpr char kOpenFailed[] =
    "kann nicht ge\xC3\xB6"
    "ffnet werden";

Lines With(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// The banner, then `lines`.
Lines Console(const Lines& lines) { return With({std::string(kBanner)}, lines); }

// Holds an flock lock on a file for the life of the object, as another
// program holding the file open would.
class HeldLock {
 public:
  HeldLock(const std::string& path, int operation) : fd_(::open(path.c_str(), O_RDONLY)) {
    EXPECT_GE(fd_, 0) << path;
    EXPECT_EQ(::flock(fd_, operation | LOCK_NB), 0) << path;
  }
  ~HeldLock() { ::close(fd_); }

 private:
  int fd_;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() { box_.SetIni(kPlainIni); }
  Sandbox box_;
};

TEST_F(ProgramTest, FormatsAFileAndKeepsABackup) {
  box_.WriteFile("a.src", "DEF a()\nx=1\n  END");
  const RunResult run = box_.Run({"a.src"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output), Console(FormattedLines("a.src")));
  EXPECT_TRUE(run.output.ends_with("\r\n"));
  EXPECT_EQ(box_.ReadFile("a.src~"), "DEF a()\r\nx=1\r\n  END\r\n");
  EXPECT_EQ(box_.ReadFile("a.src"), "DEF a()\r\n  x=1\r\nEND\r\n");
}

TEST_F(ProgramTest, TwoFileRun) {
  box_.WriteFile("a.src", "x");
  const RunResult run = box_.Run({"a.src", "b.src"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, std::string(kBanner) +
                            "\r\n"
                            "Debug: Open file \"a.src\".\r\n"
                            "Debug: Save file \"a.src~\".\r\n"
                            "Debug: Process file \"a.src\".\r\n"
                            "Debug: Save file \"a.src\".\r\n"
                            "Debug: Done file \"a.src\".\r\n"
                            "Debug: Open file \"b.src\".\r\n"
                            "Error: File \"b.src\" do not exist!\r\n");
}

TEST_F(ProgramTest, NamesThatAreNoFiles) {
  std::filesystem::create_directory(box_.Path("dir.src"));
  ASSERT_EQ(::mkfifo(box_.Path("fifo.src").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("nowhere.src", box_.Path("dangling.src").c_str()), 0);
  const Lines names = {"-h", "dir.src", "fifo.src", "dangling.src", "missing.src"};
  const RunResult run = box_.Run(names);
  EXPECT_EQ(run.exit_status, 0);
  Lines expected;
  for (const std::string& name : names) {
    expected.push_back("Debug: Open file \"" + name + "\".");
    expected.push_back("Error: File \"" + name + "\" do not exist!");
  }
  EXPECT_EQ(OutputLines(run.output), Console(expected));
  EXPECT_FALSE(box_.Exists("dir.src~"));
  EXPECT_FALSE(box_.Exists("fifo.src~"));
}

TEST_F(ProgramTest, FileHeldByAnotherProgramFailsToLoad) {
  box_.WriteFile("a.src", "x=1\n");
  HeldLock lock(box_.Path("a.src"), LOCK_EX);
  const RunResult run = box_.Run({"a.src"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output),
            Console({"Debug: Open file \"a.src\".",
                     "Error: Can not open file \"a.src\". Message: Datei a.src " +
                         std::string(kOpenFailed)}));
  EXPECT_FALSE(box_.Exists("a.src~"));
}

TEST_F(ProgramTest, BackupFailures) {
  std::filesystem::create_directory(box_.Path("d.src~"));
  box_.WriteFile("d.src", "x=1\n");
  box_.WriteFile("r.src", "y=1\n");
  box_.WriteFile("r.src~", "old backup");
  ASSERT_EQ(::chmod(box_.Path("r.src~").c_str(), 0444), 0);
  box_.WriteFile("held.src", "z=1\n");
  box_.WriteFile("held.src~", "held backup");
  HeldLock lock(box_.Path("held.src~"), LOCK_SH);
  const RunResult run = box_.Run({"d.src", "r.src", "held.src"});
  EXPECT_EQ(run.exit_status, 0);
  Lines expected;
  for (std::string name : {"d.src", "r.src", "held.src"}) {
    expected =
        With(expected, {"Debug: Open file \"" + name + "\".", "Debug: Save file \"" + name + "~\".",
                        "Error: Can not save file \"" + name + "~\". Message: Datei " + name +
                            "~ kann nicht erstellt werden"});
  }
  EXPECT_EQ(OutputLines(run.output), Console(expected));
  EXPECT_EQ(box_.ReadFile("d.src"), "x=1\n");
  EXPECT_EQ(box_.ReadFile("r.src"), "y=1\n");
  EXPECT_EQ(box_.ReadFile("r.src~"), "old backup");
  EXPECT_EQ(box_.ReadFile("held.src"), "z=1\n");
  EXPECT_EQ(box_.ReadFile("held.src~"), "held backup");
}

TEST_F(ProgramTest, ReadOnlySourceKeepsItsContent) {
  box_.WriteFile("a.src", "DEF a()\nx=1\nEND\n");
  ASSERT_EQ(::chmod(box_.Path("a.src").c_str(), 0444), 0);
  const RunResult run = box_.Run({"a.src"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output),
            Console({"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                     "Debug: Process file \"a.src\".", "Debug: Save file \"a.src\".",
                     "Error: Can not save file \"a.src\". Message: Datei a.src kann nicht "
                     "erstellt werden",
                     "Debug: Done file \"a.src\"."}));
  EXPECT_EQ(box_.ReadFile("a.src"), "DEF a()\nx=1\nEND\n");
  EXPECT_EQ(box_.ReadFile("a.src~"), "DEF a()\r\nx=1\r\nEND\r\n");
}

TEST_F(ProgramTest, ShortWrites) {
  // The backup does not fit under the limit: the source is not touched.
  const std::string big(300, 'x');
  box_.WriteFile("big.src", big + "\n");
  RunResult run = box_.Run({"big.src"}, {.file_size_limit = 100});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output),
            Console({"Debug: Open file \"big.src\".", "Debug: Save file \"big.src~\".",
                     "Error: Can not save file \"big.src~\". Message: Stream-Write-Fehler"}));
  EXPECT_EQ(box_.ReadFile("big.src"), big + "\n");

  // The backup fits, the indented result does not: the backup is complete.
  const std::string source = "DEF a()\r\nx=1\r\ny=2\r\nEND\r\n";
  box_.WriteFile("a.src", source);
  run = box_.Run({"a.src"}, {.file_size_limit = source.size()});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output),
            Console({"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                     "Debug: Process file \"a.src\".", "Debug: Save file \"a.src\".",
                     "Error: Can not save file \"a.src\". Message: Stream-Write-Fehler",
                     "Debug: Done file \"a.src\"."}));
  EXPECT_EQ(box_.ReadFile("a.src~"), source);
}

TEST_F(ProgramTest, WithoutConfigurationNothingIsTouched) {
  box_.WriteFile("a.src", "x=1\n");
  for (bool as_directory : {false, true}) {
    box_.SetIni(std::nullopt);
    if (as_directory) std::filesystem::create_directory(box_.IniPath());
    const RunResult run = box_.Run({"a.src", "b.src"});
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(OutputLines(run.output), Console({}));
    EXPECT_EQ(box_.ReadFile("a.src"), "x=1\n");
    EXPECT_FALSE(box_.Exists("a.src~"));
    std::filesystem::remove(box_.IniPath());
  }
  // No arguments at all: the banner alone, no usage text.
  box_.SetIni(kPlainIni);
  EXPECT_EQ(OutputLines(box_.Run({}).output), Console({}));
}

TEST_F(ProgramTest, ConfigurationHeldByAnotherProgram) {
  box_.WriteFile("a.src", "x=1\n");
  HeldLock lock(box_.IniPath(), LOCK_EX);
  const RunResult run = box_.Run({"a.src"});
  EXPECT_EQ(run.exit_status, 0);
  const std::string ini = box_.IniPath();
  EXPECT_EQ(OutputLines(run.output),
            Console({"Error: Exception while reading from config file \"" + ini +
                     "\". Message: Datei " + ini + " " + kOpenFailed}));
  EXPECT_EQ(box_.ReadFile("a.src"), "x=1\n");
  EXPECT_FALSE(box_.Exists("a.src~"));
}

TEST_F(ProgramTest, UnreadableConfigurationIsAFailure) {
  // A configuration whose reading fails with an I/O error: /proc/self/mem
  // passes as a regular file, but reading it from its start fails.
  box_.WriteFile("a.src", "x=1\n");
  std::filesystem::remove(box_.IniPath());
  std::filesystem::create_symlink("/proc/self/mem", box_.IniPath());
  const RunResult run = box_.Run({"a.src"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(OutputLines(run.output), Console({"Error: Exception while reading from config file \"" +
                                              box_.IniPath() + "\". Message: Stream-Read-Fehler"}));
  EXPECT_EQ(box_.ReadFile("a.src"), "x=1\n");
  EXPECT_FALSE(box_.Exists("a.src~"));
}

TEST_F(ProgramTest, ConfigurationWithByteOrderMark) {
  box_.SetIni("\xEF\xBB\xBF[Indent]\r\nIndentWidth=5\r\n[Spacing]\r\nSpacingOperators=0\r\n");
  box_.WriteFile("a.src", "def a()\nx=1\n");
  EXPECT_EQ(box_.Run({"a.src"}).exit_status, 0);
  EXPECT_EQ(box_.ReadFile("a.src"), "def a()\r\n     x=1\r\n");
}

TEST_F(ProgramTest, LineEnds) {
  struct Case {
    std::string name, bytes, backup;
  };
  const Case cases[] = {
      {"lf.src", "a\nb\n", "a\r\nb\r\n"},
      {"cr.src", "a\rb\r", "a\r\nb\r\n"},
      {"lfcr.src", "a\n\rb\n", "a\r\n\r\nb\r\n"},
      {"open.src", "a\r\nb", "a\r\nb\r\n"},
      {"empty.src", "", ""},
      {"bom.src",
       "\xEF\xBB\xBF"
       "a\r\n",
       "\xEF\xBB\xBF"
       "a\r\n"},
  };
  std::vector<std::string> names;
  Lines expected;
  for (const Case& c : cases) {
    box_.WriteFile(c.name, c.bytes);
    names.push_back(c.name);
    expected = With(expected, FormattedLines(c.name));
  }
  const RunResult run = box_.Run(names);
  EXPECT_EQ(OutputLines(run.output), Console(expected));
  for (const Case& c : cases) {
    EXPECT_EQ(box_.ReadFile(c.name + "~"), c.backup) << c.name;
    EXPECT_EQ(box_.ReadFile(c.name), c.backup) << c.name;
  }
}

TEST_F(ProgramTest, SameNameTwiceAndNameWithBlanks) {
  box_.SetIni("");  // spacing on, the defaults
  box_.WriteFile("my prog.src", "x=1\n");
  const RunResult run = box_.Run({"my prog.src", "my prog.src"});
  EXPECT_EQ(OutputLines(run.output),
            Console(With(FormattedLines("my prog.src"), FormattedLines("my prog.src"))));
  EXPECT_EQ(box_.ReadFile("my prog.src~"), "x = 1\r\n");
  EXPECT_EQ(box_.ReadFile("my prog.src"), "x = 1\r\n");
}

TEST_F(ProgramTest, NulByteFileIsLeftAlone) {
  const std::string utf16(
      "\xFF\xFE"
      "D\0E\0F\0\r\0\n\0",
      12);
  box_.WriteFile("u.src", utf16);
  const RunResult run = box_.Run({"u.src"});
  EXPECT_EQ(run.exit_status, 0);
  const Lines lines = OutputLines(run.output);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[2].starts_with("Error: Can not open file \"u.src\". Message: "));
  EXPECT_NE(lines[2].find("NUL"), std::string::npos);
  EXPECT_EQ(box_.ReadFile("u.src"), utf16);
  EXPECT_FALSE(box_.Exists("u.src~"));
}

TEST_F(ProgramTest, IndentBeyondThirtyTwoBitsEndsTheRun) {
  box_.SetIni("[Indent]\nIndentWidth=$80000000\n");
  box_.WriteFile("a.src", "x\nEND\ny\n");
  box_.WriteFile("b.src", "z\n");
  const RunResult run = box_.Run({"a.src", "b.src"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(OutputLines(run.output),
            Console({"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                     "Debug: Process file \"a.src\".",
                     "Error: Out of memory: Zu wenig Arbeitsspeicher"}));
  EXPECT_EQ(box_.ReadFile("a.src"), "x\nEND\ny\n");
  EXPECT_EQ(box_.ReadFile("a.src~"), "x\r\nEND\r\ny\r\n");
  EXPECT_EQ(box_.ReadFile("b.src"), "z\n");
  EXPECT_FALSE(box_.Exists("b.src~"));
}

TEST_F(ProgramTest, LostStandardOutputNeverLeavesAHalfWrittenFile) {
  for (const RunOptions& options :
       {RunOptions{.file_size_limit = std::nullopt, .close_stdout = true},
        RunOptions{.file_size_limit = std::nullopt, .close_stdout = false, .broken_pipe = true}}) {
    box_.WriteFile("a.src", "x\n");
    box_.WriteFile("b.src", "y\n");
    const RunResult run = box_.Run({"a.src", "b.src"}, options);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(box_.ReadFile("a.src"), "x\r\n");
    EXPECT_EQ(box_.ReadFile("a.src~"), "x\r\n");
    EXPECT_EQ(box_.ReadFile("b.src"), "y\n");
  }
}

}  // namespace
}  // namespace vornette::testing
