// An Env that keeps its files in memory, with failures to order, so the core
// can be tested without a disk.
#ifndef VORNETTE_TESTS_MEMORY_ENV_H_
#define VORNETTE_TESTS_MEMORY_ENV_H_

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/env.h"

namespace vornette {

class MemoryEnv : public Env {
 public:
  static constexpr PathKind kFile = PathKind::kFile, kNone = PathKind::kNone;
  std::string executable_path = "/opt/vornette/vornette";  // empty: unknown
  std::map<std::string, std::string> files;
  // Names whose reads fail so; kNoMemory throws, as running out of memory
  // while reading does.
  std::map<std::string, FileResult> read_failures;
  std::vector<std::string> write_log;  // every write, in order
  bool console = false;
  bool stdout_broken = false;
  // What ReadStdinSome hands out, at most `stdin_piece` bytes a call.
  std::string stdin_stream;
  size_t stdin_piece = 1 << 16;
  size_t stdin_at = 0;
  std::vector<std::string> stdout_writes;

  bool ExecutablePath(std::string* path) override {
    *path = executable_path;
    return !path->empty();
  }
  std::string_view PathSeparators() override { return "/"; }
  bool FileExists(const std::string& name) override { return files.count(name) != 0; }
  FileResult ReadWholeFile(const std::string& name, ByteBuffer* bytes) override;
  FileResult WriteWholeFile(const std::string& name,
                            std::span<const std::string_view> pieces) override;
  bool StdoutIsConsole() override { return console; }
  bool WriteStdout(std::string_view bytes) override {
    if (!stdout_broken) stdout_writes.emplace_back(bytes);
    return !stdout_broken;
  }
  PathKind KindOf(const std::string& p) override { return files.count(p) ? kFile : kNone; }
  bool ListFolder(const std::string&, std::vector<FolderEntry>*) override { return false; }
  std::string CurrentFolder() override { return "/work"; }
  FileResult ReadStdin(ByteBuffer* bytes) override { return ReadWholeFile("<stdin>", bytes); }
  size_t ReadStdinSome(char* into, size_t room) override {
    const size_t count = std::min({room, stdin_piece, stdin_stream.size() - stdin_at});
    stdin_stream.copy(into, count, stdin_at);
    stdin_at += count;
    return count;
  }
  bool WriteStderr(std::string_view) override { return true; }
  FileResult ReplaceFile(const std::string& name,
                         std::span<const std::string_view> pieces) override {
    return WriteWholeFile(name, pieces);
  }

  // What was written to standard output, cut at CR LF.
  std::vector<std::string> ConsoleLines() const;
};

}  // namespace vornette

#endif  // VORNETTE_TESTS_MEMORY_ENV_H_
