#include "program/vornette_cmd.h"

#include <gtest/gtest.h>

#include "tests/memory_env.h"

namespace vornette {
namespace {

// What only the in-memory Env can stage: memory running out while a file is
// read (reported, nothing written), a report lost at the end of the run (a
// failure, with or without a configuration), and how the console lines are
// handed over (on a console every line at once; redirected, 128 bytes or
// more at a time and the rest at the end).
TEST(RunVornetteTest, FailuresAndHandOver) {
  const struct {
    bool configured, console, broken, no_memory;
    int status;
    size_t lines, writes;
  } rows[] = {{true, false, false, true, 0, 3, 1},
              {false, false, true, false, 1, 0, 0},
              {true, false, true, false, 1, 0, 0},
              {true, false, false, false, 0, 6, 2},
              {true, true, false, false, 0, 6, 6}};
  for (const auto& row : rows) {
    MemoryEnv env;
    if (row.configured) env.files["/opt/vornette/Vornette.ini"] = "";
    env.files["a.src"] = "x";
    if (row.no_memory) env.read_failures["a.src"] = FileResult::kNoMemory;
    env.console = row.console;
    env.stdout_broken = row.broken;
    EXPECT_EQ(RunVornette(env, {"a.src"}), row.status);
    EXPECT_EQ(env.ConsoleLines().size(), row.lines);
    EXPECT_EQ(env.stdout_writes.size(), row.writes);
    EXPECT_GE(row.writes == 2 ? env.stdout_writes[0].size() : 128u, 128u);
    if (row.no_memory) {
      EXPECT_EQ(env.ConsoleLines().at(2),
                "Error: Can not open file \"a.src\". Message: Zu wenig Arbeitsspeicher");
      EXPECT_TRUE(env.write_log.empty());
    }
  }
}

}  // namespace
}  // namespace vornette
