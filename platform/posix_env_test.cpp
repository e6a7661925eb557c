#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/env.h"
#include "tests/run_program.h"

namespace vornette {
namespace {

namespace fs = std::filesystem;

class PosixEnvTest : public ::testing::Test {
 protected:
  FileResult Write(const std::string& name, std::string_view text) {
    const std::string_view pieces[] = {text};
    return env_.WriteWholeFile(box_.Path(name), pieces);
  }
  FileResult Read(const std::string& name, std::string* bytes) {
    ByteBuffer buffer;
    buffer.Append("stale");
    const FileResult result = env_.ReadWholeFile(box_.Path(name), &buffer);
    bytes->assign(buffer.view());
    return result;
  }
  Env& env_ = SystemEnv();
  testing::Sandbox box_;
};

TEST_F(PosixEnvTest, ExecutablePathIsTheRunningProgram) {
  const std::string path = env_.ExecutablePath();
  EXPECT_TRUE(path.starts_with("/")) << path;
  EXPECT_TRUE(path.ends_with("/vornette_tests")) << path;
}

TEST_F(PosixEnvTest, OnlyRegularFilesExist) {
  box_.WriteFile("file", "x");
  fs::create_directory(box_.Path("dir"));
  ASSERT_EQ(::mkfifo(box_.Path("fifo").c_str(), 0644), 0);
  fs::create_symlink(box_.Path("file"), box_.Path("link"));
  fs::create_symlink(box_.Path("dir"), box_.Path("dirlink"));
  fs::create_symlink(box_.Path("gone"), box_.Path("dangling"));
  const std::pair<std::string, bool> cases[] = {
      {"file", true},  {"link", true},      {"dir", false},  {"dirlink", false},
      {"fifo", false}, {"dangling", false}, {"gone", false},
  };
  for (const auto& [name, exists] : cases) {
    EXPECT_EQ(env_.FileExists(box_.Path(name)), exists) << name;
  }
  EXPECT_FALSE(env_.FileExists("/dev/null"));
}

TEST_F(PosixEnvTest, WritesInPiecesAndReadsBack) {
  const std::string big(3 * 1024 * 1024 + 17, 'k');
  const std::string_view pieces[] = {"head\r\n", big, "", "tail\r\n"};
  ASSERT_EQ(env_.WriteWholeFile(box_.Path("f"), pieces), FileResult::kOk);
  std::string bytes = "stale";
  ASSERT_EQ(Read("f", &bytes), FileResult::kOk);
  EXPECT_EQ(bytes, "head\r\n" + big + "tail\r\n");
  // Writing again replaces the whole content.
  ASSERT_EQ(Write("f", "short"), FileResult::kOk);
  ASSERT_EQ(Read("f", &bytes), FileResult::kOk);
  EXPECT_EQ(bytes, "short");
  ASSERT_EQ(Write("empty", ""), FileResult::kOk);
  ASSERT_EQ(Read("empty", &bytes), FileResult::kOk);
  EXPECT_EQ(bytes, "");
}

TEST_F(PosixEnvTest, RefusedTargets) {
  fs::create_directory(box_.Path("dir"));
  ASSERT_EQ(::mkfifo(box_.Path("fifo").c_str(), 0644), 0);
  box_.WriteFile("readonly", "keep");
  ASSERT_EQ(::chmod(box_.Path("readonly").c_str(), 0444), 0);
  fs::create_symlink("/dev/null", box_.Path("null"));
  for (const std::string name : {"dir", "fifo", "readonly", "null", "missing-dir/x"}) {
    EXPECT_EQ(Write(name, "new"), FileResult::kCreateFailed) << name;
  }
  EXPECT_EQ(box_.ReadFile("readonly"), "keep");
  std::string bytes;
  EXPECT_EQ(Read("dir", &bytes), FileResult::kOpenFailed);
  EXPECT_EQ(Read("fifo", &bytes), FileResult::kOpenFailed);
  EXPECT_EQ(Read("missing", &bytes), FileResult::kOpenFailed);
}

TEST_F(PosixEnvTest, LocksFollowTheSharingRules) {
  box_.WriteFile("f", "content");
  const int fd = ::open(box_.Path("f").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::string bytes;

  // Another reader: reading is shared, writing is refused and changes nothing.
  ASSERT_EQ(::flock(fd, LOCK_SH), 0);
  EXPECT_EQ(Read("f", &bytes), FileResult::kOk);
  EXPECT_EQ(Write("f", "new"), FileResult::kCreateFailed);
  EXPECT_EQ(box_.ReadFile("f"), "content");

  // Another writer: both reading and writing are refused.
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_EQ(Read("f", &bytes), FileResult::kOpenFailed);
  EXPECT_EQ(Write("f", "new"), FileResult::kCreateFailed);
  EXPECT_EQ(box_.ReadFile("f"), "content");

  ::close(fd);
  EXPECT_EQ(Write("f", "new"), FileResult::kOk);
}

}  // namespace
}  // namespace vornette
