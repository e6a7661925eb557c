#include "program/vornette_cmd.h"

#include <gtest/gtest.h>

#include "basic/constants.h"
#include "tests/memory_env.h"

namespace vornette {
namespace {

using Lines = std::vector<std::string>;
constexpr char kIni[] = "/opt/vornette/Vornette.ini";

// Memory running out while a file is read: reported, nothing written.
TEST(RunVornetteTest, MemoryRunningOutWhileReadingIsReported) {
  MemoryEnv env;
  env.files[kIni] = "";
  env.files["a.src"] = "x=1";
  env.read_failures["a.src"] = FileResult::kNoMemory;
  EXPECT_EQ(RunVornette(env, {"a.src"}), 0);
  EXPECT_EQ(env.ConsoleLines().at(2),
            "Error: Can not open file \"a.src\". Message: Zu wenig Arbeitsspeicher");
  EXPECT_TRUE(env.write_log.empty());
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

// On a console every line at once; redirected, 128 bytes or more at a time
// and the rest at the end.
TEST(RunVornetteTest, RedirectedOutputIsCollectedConsoleOutputIsNot) {
  for (bool console : {false, true}) {
    MemoryEnv env;
    env.console = console;
    env.files[kIni] = "";
    env.files["a.src"] = "x";
    RunVornette(env, {"a.src"});
    EXPECT_EQ(env.ConsoleLines().size(), 6u);
    EXPECT_EQ(env.stdout_writes.size(), console ? 6u : 2u);
    EXPECT_GE(env.stdout_writes[0].size(), console ? 0u : 128u);
  }
}

}  // namespace
}  // namespace vornette
