// Faults from outside while the program works: a second run on the same
// file, and a kill at any moment. Whatever happens, a user's file is either
// as it was, or its backup is complete.
#include <gtest/gtest.h>

#include <algorithm>
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
std::string BigProgram(const std::string& end) {
  std::string text = "DEF big()" + end;
  for (int i = 0; i < 150000; ++i) {
    text += "if $in[" + std::to_string(i % 16) + "]==true then" + end + "x=x+1;count" + end +
            "endif" + end;
  }
  return text + "END" + end;
}

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_.SetIni("");
    box_.WriteFile("a.src", original_);
    ASSERT_EQ(box_.Run({"a.src"}).exit_status, 0);
    formatted_ = box_.ReadFile("a.src");
  }
  Sandbox box_;
  const std::string original_ = BigProgram("\n");
  const std::string backup_ = BigProgram("\r\n");
  std::string formatted_;
};

TEST_F(FaultTest, TwoRunsOnTheSameFileNeverInterleave) {
  for (int round = 0; round < 12; ++round) {
    box_.WriteFile("a.src", original_);
    const Running first = box_.Start({"a.src"});
    const Running second = box_.Start({"a.src"});
    for (const RunResult& run : {box_.Wait(first), box_.Wait(second)}) {
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
    EXPECT_EQ(box_.ReadFile("a.src"), formatted_) << round;
    EXPECT_TRUE(box_.ReadFile("a.src~") == backup_ || box_.ReadFile("a.src~") == formatted_);
  }
}

TEST_F(FaultTest, AKillAtAnyMomentLeavesTheFileOrACompleteBackup) {
  // About how long a run takes (half of three runs, to allow for a slow
  // one), to spread the kills over it and somewhat beyond. A formatted file
  // takes as long as the original.
  const auto start = Clock::now();
  for (int i = 0; i < 3; ++i) box_.Run({"a.src"});
  const Clock::duration run_time = (Clock::now() - start) / 2;
  std::mt19937 random(2026);
  int changed = 0;
  for (int round = 0; round < 60; ++round) {
    box_.WriteFile("a.src", original_);
    fs::remove(box_.Path("a.src~"));
    const Running running = box_.Start({"a.src"});
    if (round % 2 == 0) {  // anywhere in the run
      std::this_thread::sleep_for(run_time * (random() % 1500) / 1000);
    } else {  // soon after a file on the disk changes
      const auto give_up = Clock::now() + 4 * run_time;
      while (!fs::exists(box_.Path("a.src~")) &&
             fs::file_size(box_.Path("a.src")) == original_.size() && Clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::microseconds(20));
      }
      std::this_thread::sleep_for(run_time * (random() % 100) / 1000);
    }
    Sandbox::Kill(running);
    box_.Wait(running);
    const std::string source = box_.ReadFile("a.src");
    if (source != original_) {
      ++changed;
      EXPECT_EQ(box_.ReadFile("a.src~"), backup_) << "round " << round;
    }
    EXPECT_TRUE(source == original_ || source == formatted_ || source.size() < formatted_.size())
        << "round " << round;
  }
  // Some kills must have come after the source was touched, or the test
  // proves nothing.
  EXPECT_GT(changed, 0);
}

// vornette-format -i replaces each file in one step: a kill leaves every
// file whole, old or new.
TEST(FormatFaultTest, AKillDuringInPlaceLeavesEveryFileOldOrNew) {
  Sandbox box(VORNETTE_FORMAT_BINARY);
  const std::string original = BigProgram("\n").substr(0, 400000) + "\n";
  std::string formatted;
  // Round -1 times a whole run; the kills spread over it and somewhat beyond.
  Clock::duration run_time{};
  std::mt19937 random(7);
  for (int round = -1; round < 20; ++round) {
    for (int i = 0; i < 20; ++i) box.WriteFile("f" + std::to_string(i) + ".src", original);
    if (round < 0) {
      const auto start = Clock::now();
      box.Run({"-i", "."});
      run_time = Clock::now() - start;
      continue;
    }
    const Running running = box.Start({"-i", "."});
    std::this_thread::sleep_for(run_time * (random() % 1200) / 1000);
    Sandbox::Kill(running);
    box.Wait(running);
    for (int i = 0; i < 20; ++i) {
      const std::string now = box.ReadFile("f" + std::to_string(i) + ".src");
      if (now != original && formatted.empty()) formatted = now;
      EXPECT_TRUE(now == original || now == formatted) << round << " " << i;
    }
  }
  EXPECT_FALSE(formatted.empty());  // some kills came late enough
}

}  // namespace
}  // namespace vornette::testing
