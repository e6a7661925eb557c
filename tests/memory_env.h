// An Env that keeps its files in memory, with failures to order, so the core
// can be tested without a disk.
#ifndef VORNETTE_TESTS_MEMORY_ENV_H_
#define VORNETTE_TESTS_MEMORY_ENV_H_

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/env.h"

namespace vornette {

// Console output cut into lines at CR LF; text after the last CR LF, if any,
// comes last.
std::vector<std::string> SplitConsoleLines(std::string_view output);

class MemoryEnv : public Env {
 public:
  std::string executable_path = "/opt/vornette/vornette";
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  // Names whose reads or writes fail with the given result.
  std::map<std::string, FileResult> read_failures;
  std::map<std::string, FileResult> write_failures;
  // Every write in order, by name, to check what was written when.
  std::vector<std::string> write_log;
  bool console = false;
  bool stdout_broken = false;
  std::string stdout_text;
  std::vector<std::string> stdout_writes;

  std::string ExecutablePath() override { return executable_path; }
  std::string_view PathSeparators() override { return "/"; }
  bool FileExists(const std::string& name) override { return files.count(name) != 0; }
  FileResult ReadWholeFile(const std::string& name, ByteBuffer* bytes) override;
  FileResult WriteWholeFile(const std::string& name,
                            std::span<const std::string_view> pieces) override;
  bool StdoutIsConsole() override { return console; }
  bool WriteStdout(std::string_view bytes) override;

  // The console output cut into lines at CR LF.
  std::vector<std::string> ConsoleLines() const { return SplitConsoleLines(stdout_text); }
};

}  // namespace vornette

#endif  // VORNETTE_TESTS_MEMORY_ENV_H_
