// Faults from outside while the programs work: a second run on the same
// file, and a kill at any moment. Whatever happens, a user's file is either
// as it was, or formatted, or its backup is complete.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/memory_env.h"
#include "tests/run_program.h"

namespace vornette::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A program of a few megabytes with `end` after each line: with LF its backup
// and its result both differ from it; with CR LF it is its backup.
std::string BigProgram(const std::string& end, int blocks = 150000) {
  std::string text = "DEF big()" + end;
  for (int i = 0; i < blocks; ++i) {
    text += "if $in[" + std::to_string(i % 16) + "]==true then" + end + "x=x+1;count" + end +
            "endif" + end;
  }
  return text + "END" + end;
}

TEST(FaultTest, TwoRunsOnTheSameFileNeverInterleave) {
  Sandbox box;
  box.SetIni("");
  const std::string original = BigProgram("\n");
  box.WriteFile("a.src", original);
  box.Run({"a.src"});
  const std::string formatted = box.ReadFile("a.src");
  for (int round = 0; round < 12; ++round) {
    box.WriteFile("a.src", original);
    const Running first = box.Start({"a.src"});
    const Running second = box.Start({"a.src"});
    for (const RunResult& run : {box.Wait(first), box.Wait(second)}) {
      EXPECT_EQ(run.exit_status, 0);
      for (const std::string& line : SplitConsoleLines(run.output)) {
        // Progress, or a refusal: the file was held by the other run.
        EXPECT_TRUE(line.starts_with("Debug: ") || line.starts_with("Vornette ") ||
                    (line.starts_with("Error: Can not ") && line.ends_with(" werden")))
            << line;
      }
    }
    // Formatting is idempotent, so one run or two give the same file; a
    // refused save leaves the other run's complete result.
    EXPECT_EQ(box.ReadFile("a.src"), formatted) << round;
    const std::string backup = box.ReadFile("a.src~");
    EXPECT_TRUE(backup == BigProgram("\r\n") || backup == formatted);
  }
}

// vornette on one file: the source is untouched, or its backup is complete.
// vornette-format -i replaces each of many files in one step: every file is
// whole, old or new. Half the kills come anywhere in about one run's time
// and somewhat beyond, half soon after a file on the disk changes.
TEST(FaultTest, AKillAtAnyMomentLeavesEveryFileWhole) {
  for (const bool in_place : {false, true}) {
    Sandbox box(in_place ? VORNETTE_FORMAT_BINARY : VORNETTE_BINARY);
    box.SetIni("");
    const std::string original = in_place ? BigProgram("\n", 10000) : BigProgram("\n");
    const int files = in_place ? 20 : 1;
    const std::vector<std::string> args =
        in_place ? std::vector<std::string>{"-i", "."} : std::vector<std::string>{"f0.src"};
    std::string formatted;
    Clock::duration run_time{};
    std::mt19937 random(2026);
    int changed = 0;
    for (int round = -1; round < 40; ++round) {
      for (int i = 0; i < files; ++i) box.WriteFile("f" + std::to_string(i) + ".src", original);
      fs::remove(box.Path("f0.src~"));
      if (round < 0) {  // a whole run, timed
        const auto start = Clock::now();
        box.Run(args);
        run_time = Clock::now() - start;
        formatted = box.ReadFile("f0.src");
        continue;
      }
      const Running running = box.Start(args);
      if (round % 2 == 0) {
        std::this_thread::sleep_for(run_time * (random() % 1300) / 1000);
      } else {
        const auto give_up = Clock::now() + 4 * run_time;
        while (!fs::exists(box.Path("f0.src~")) &&
               fs::file_size(box.Path("f0.src")) == original.size() && Clock::now() < give_up) {
          std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        std::this_thread::sleep_for(run_time * (random() % 100) / 1000);
      }
      Sandbox::Kill(running);
      box.Wait(running);
      for (int i = 0; i < files; ++i) {
        const std::string now = box.ReadFile("f" + std::to_string(i) + ".src");
        if (now == original) continue;
        ++changed;
        if (in_place) {
          EXPECT_EQ(now, formatted) << round << " " << i;
        } else {
          EXPECT_EQ(box.ReadFile("f0.src~"), BigProgram("\r\n")) << round;
          EXPECT_TRUE(now == formatted || now.size() < formatted.size()) << round;
        }
      }
    }
    // Some kills must have come after a file was touched, or the test
    // proves nothing.
    EXPECT_GT(changed, 0) << in_place;
  }
}

}  // namespace
}  // namespace vornette::testing
