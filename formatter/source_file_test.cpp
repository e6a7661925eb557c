#include "formatter/source_file.h"

#include <gtest/gtest.h>

#include "tests/memory_env.h"

namespace vornette {
namespace {

using Lines = std::vector<std::string>;

class ProcessSourceFileTest : public ::testing::Test {
 protected:
  Lines Run(const std::string& name) {
    {
      ConsoleLog log(env_);
      ProcessSourceFile(env_, log, settings_, name);
    }
    return env_.ConsoleLines();
  }
  MemoryEnv env_;
  FormatterSettings settings_;
};

TEST_F(ProcessSourceFileTest, Formatted) {
  env_.files["a.src"] = "DEF a()\nx=1\nEND";
  EXPECT_EQ(Run("a.src"), (Lines{"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                                 "Debug: Process file \"a.src\".", "Debug: Save file \"a.src\".",
                                 "Debug: Done file \"a.src\"."}));
  EXPECT_EQ(env_.files["a.src~"], "DEF a()\r\nx=1\r\nEND\r\n");
  EXPECT_EQ(env_.files["a.src"], "DEF a()\r\n  x = 1\r\nEND\r\n");
  EXPECT_EQ(env_.write_log, (Lines{"a.src~", "a.src"}));
}

TEST_F(ProcessSourceFileTest, MissingName) {
  EXPECT_EQ(Run("-h"), (Lines{"Debug: Open file \"-h\".", "Error: File \"-h\" do not exist!"}));
  EXPECT_TRUE(env_.write_log.empty());
}

TEST_F(ProcessSourceFileTest, LoadFailures) {
  struct Case {
    FileResult failure;
    std::string message;
  };
  const Case cases[] = {
      {FileResult::kOpenFailed,
       "Datei a.src kann nicht ge\xC3\xB6"
       "ffnet werden"},
      {FileResult::kReadFailed, "Stream-Read-Fehler"},
      {FileResult::kNoMemory, "Zu wenig Arbeitsspeicher"},
  };
  for (const Case& c : cases) {
    MemoryEnv env;
    env.files.emplace("a.src", "x");
    env.read_failures["a.src"] = c.failure;
    {
      ConsoleLog log(env);
      ProcessSourceFile(env, log, settings_, "a.src");
    }
    EXPECT_EQ(env.ConsoleLines(),
              (Lines{"Debug: Open file \"a.src\".",
                     "Error: Can not open file \"a.src\". Message: " + c.message}));
    EXPECT_TRUE(env.write_log.empty());
  }
}

TEST_F(ProcessSourceFileTest, NulByteFileIsRefusedUntouched) {
  env_.files["u.src"] = std::string("D\0E\0F\0", 6);
  EXPECT_EQ(Run("u.src"),
            (Lines{"Debug: Open file \"u.src\".",
                   "Error: Can not open file \"u.src\". Message: Datei u.src enth\xC3\xA4lt ein "
                   "NUL-Byte und ist keine Textdatei"}));
  EXPECT_TRUE(env_.write_log.empty());
}

TEST_F(ProcessSourceFileTest, BackupFailureLeavesTheSourceAlone) {
  for (FileResult failure : {FileResult::kCreateFailed, FileResult::kShortWrite}) {
    MemoryEnv env;
    env.files["a.src"] = "x=1";
    env.write_failures["a.src~"] = failure;
    {
      ConsoleLog log(env);
      ProcessSourceFile(env, log, settings_, "a.src");
    }
    const std::string text = failure == FileResult::kShortWrite
                                 ? "Stream-Write-Fehler"
                                 : "Datei a.src~ kann nicht erstellt werden";
    EXPECT_EQ(env.ConsoleLines(),
              (Lines{"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                     "Error: Can not save file \"a.src~\". Message: " + text}));
    EXPECT_EQ(env.files["a.src"], "x=1");
    EXPECT_EQ(env.write_log, Lines{"a.src~"});
  }
}

TEST_F(ProcessSourceFileTest, FinalSaveFailureStillEndsWithDone) {
  env_.files["a.src"] = "x=1";
  env_.write_failures["a.src"] = FileResult::kCreateFailed;
  EXPECT_EQ(Run("a.src"),
            (Lines{"Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
                   "Debug: Process file \"a.src\".", "Debug: Save file \"a.src\".",
                   "Error: Can not save file \"a.src\". Message: Datei a.src kann nicht erstellt "
                   "werden",
                   "Debug: Done file \"a.src\"."}));
  EXPECT_EQ(env_.files["a.src"], "x=1");
  EXPECT_EQ(env_.files["a.src~"], "x=1\r\n");
}

TEST_F(ProcessSourceFileTest, SameNameTwiceBacksUpTheFirstResult) {
  env_.files["a.src"] = "x=1";
  Run("a.src");
  Run("a.src");
  EXPECT_EQ(env_.files["a.src~"], "x = 1\r\n");
  EXPECT_EQ(env_.files["a.src"], "x = 1\r\n");
}

TEST_F(ProcessSourceFileTest, FailureWhileFormattingKeepsTheFileAndItsBackup) {
  // The first END takes the level to -1: -2147483648 times -1 is out of range.
  settings_.IndentWidth = -2147483647 - 1;
  env_.files["a.src"] = "x\nend\ny\n";
  EXPECT_THROW(Run("a.src"), std::bad_alloc);
  EXPECT_EQ(env_.files["a.src"], "x\nend\ny\n");
  EXPECT_EQ(env_.files["a.src~"], "x\r\nend\r\ny\r\n");
  EXPECT_EQ(env_.write_log, Lines{"a.src~"});
}

}  // namespace
}  // namespace vornette
