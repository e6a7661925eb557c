#include "program/vornette_cmd.h"

#include <gtest/gtest.h>

#include "basic/constants.h"
#include "tests/memory_env.h"

namespace vornette {
namespace {

using Lines = std::vector<std::string>;
constexpr char kIni[] = "/opt/vornette/Vornette.ini";

// Failures that a disk seldom shows on demand: a read that fails after the
// open, and memory running out while a file is read or written.
TEST(RunVornetteTest, ReadAndWriteFailuresAreReported) {
  struct Case {
    FileResult failure;
    bool on_read;
    std::string text;
  };
  const Case cases[] = {{FileResult::kReadFailed, true, "Stream-Read-Fehler"},
                        {FileResult::kNoMemory, true, "Zu wenig Arbeitsspeicher"},
                        {FileResult::kNoMemory, false, "Zu wenig Arbeitsspeicher"}};
  for (const Case& c : cases) {
    MemoryEnv env;
    env.files[kIni] = "";
    env.files["a.src"] = "x=1";
    (c.on_read ? env.read_failures : env.write_failures)["a.src"] = c.failure;
    EXPECT_EQ(RunVornette(env, {"a.src"}), 0);
    const Lines expected = c.on_read
                               ? Lines{std::string(kBanner), "Debug: Open file \"a.src\".",
                                       "Error: Can not open file \"a.src\". Message: " + c.text}
                               : Lines{std::string(kBanner),
                                       "Debug: Open file \"a.src\".",
                                       "Debug: Save file \"a.src~\".",
                                       "Debug: Process file \"a.src\".",
                                       "Debug: Save file \"a.src\".",
                                       "Error: Can not save file \"a.src\". Message: " + c.text,
                                       "Debug: Done file \"a.src\"."};
    EXPECT_EQ(env.ConsoleLines(), expected);
    EXPECT_EQ(env.write_log, c.on_read ? Lines{} : (Lines{"a.src~", "a.src"}));
  }
}

// Lines still collected when the run ends are handed over then; when that
// fails, the run has failed, with or without a configuration.
TEST(RunVornetteTest, AReportLostAtTheEndIsAFailure) {
  for (bool configured : {false, true}) {
    MemoryEnv env;
    if (configured) env.files[kIni] = "";
    env.stdout_broken = true;
    EXPECT_EQ(RunVornette(env, {}), 1) << configured;
  }
}

TEST(RunVornetteTest, RedirectedOutputIsCollectedConsoleOutputIsNot) {
  for (bool console : {false, true}) {
    MemoryEnv env;
    env.console = console;
    env.files[kIni] = "";
    env.files["a.src"] = "x";
    RunVornette(env, {"a.src"});
    EXPECT_EQ(env.ConsoleLines().size(), 6u);
    if (console) {
      EXPECT_EQ(env.stdout_writes.size(), 6u);
    } else {
      // 128 bytes or more at a time; the rest at the end.
      EXPECT_EQ(env.stdout_writes.size(), 2u);
      EXPECT_GE(env.stdout_writes[0].size(), 128u);
    }
  }
}

}  // namespace
}  // namespace vornette
