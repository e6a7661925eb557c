#include "program/vornette_cmd.h"

#include <gtest/gtest.h>

#include "basic/constants.h"
#include "tests/memory_env.h"

namespace vornette {
namespace {

using Lines = std::vector<std::string>;
constexpr char kIni[] = "/opt/vornette/Vornette.ini";

TEST(RunVornetteTest, TwoFileRun) {
  MemoryEnv env;
  env.files[kIni] = "";
  env.files["a.src"] = "x";
  EXPECT_EQ(RunVornette(env, {"a.src", "b.src"}), 0);
  EXPECT_EQ(env.ConsoleLines(),
            (Lines{std::string(kBanner), "Debug: Open file \"a.src\".",
                   "Debug: Save file \"a.src~\".", "Debug: Process file \"a.src\".",
                   "Debug: Save file \"a.src\".", "Debug: Done file \"a.src\".",
                   "Debug: Open file \"b.src\".", "Error: File \"b.src\" do not exist!"}));
  EXPECT_TRUE(env.ConsoleLines()[0].starts_with("Vornette V0.3.0 "));
}

TEST(RunVornetteTest, WithoutConfigurationOnlyTheBanner) {
  MemoryEnv env;
  env.files["a.src"] = "x=1";
  EXPECT_EQ(RunVornette(env, {"a.src"}), 0);
  EXPECT_EQ(env.ConsoleLines(), Lines{std::string(kBanner)});
  EXPECT_TRUE(env.write_log.empty());
}

TEST(RunVornetteTest, ConfigurationReadFailureFormatsNothing) {
  MemoryEnv env;
  env.files[kIni] = "";
  env.read_failures[kIni] = FileResult::kOpenFailed;
  env.files["a.src"] = "x=1";
  EXPECT_EQ(RunVornette(env, {"a.src"}), 0);
  ASSERT_EQ(env.ConsoleLines().size(), 2u);
  EXPECT_TRUE(env.ConsoleLines()[1].starts_with("Error: Exception while reading from config file"));
  EXPECT_TRUE(env.write_log.empty());
}

TEST(RunVornetteTest, UncaughtFailureEndsTheRunWithStatusOne) {
  MemoryEnv env;
  env.files[kIni] = "[Indent]\nIndentWidth=$80000000\n";
  env.files["a.src"] = "end\n";
  env.files["b.src"] = "x\n";
  EXPECT_EQ(RunVornette(env, {"a.src", "b.src"}), 1);
  EXPECT_EQ(
      env.ConsoleLines(),
      (Lines{std::string(kBanner), "Debug: Open file \"a.src\".", "Debug: Save file \"a.src~\".",
             "Debug: Process file \"a.src\".", "Error: Out of memory: Zu wenig Arbeitsspeicher"}));
  EXPECT_EQ(env.files["a.src"], "end\n");
  EXPECT_EQ(env.files["a.src~"], "end\r\n");
  EXPECT_EQ(env.files["b.src"], "x\n");
}

TEST(RunVornetteTest, BrokenStandardOutputFinishesTheFileThenStops) {
  MemoryEnv env;
  env.files[kIni] = "";
  env.files["a.src"] = "x=1";
  env.files["b.src"] = "y=1";
  env.stdout_broken = true;
  EXPECT_EQ(RunVornette(env, {"a.src", "b.src"}), 1);
  EXPECT_EQ(env.files["a.src"], "x = 1\r\n");
  EXPECT_EQ(env.files["b.src"], "y=1");
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
      EXPECT_LT(env.stdout_writes.size(), 6u);
      for (size_t i = 0; i + 1 < env.stdout_writes.size(); ++i) {
        EXPECT_GE(env.stdout_writes[i].size(), 128u);
      }
    }
  }
}

}  // namespace
}  // namespace vornette
