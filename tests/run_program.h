// Helpers for tests that run the built vornette binary in a scratch folder.
#ifndef VORNETTE_TESTS_RUN_PROGRAM_H_
#define VORNETTE_TESTS_RUN_PROGRAM_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vornette::testing {

struct RunResult {
  int exit_status = -1;  // -1 when the program did not exit normally
  int signal = 0;        // the signal that ended it, if one did
  std::string output;    // everything it wrote to standard output
};

struct RunOptions {
  // Limits the size of files the program may write (RLIMIT_FSIZE), in bytes.
  std::optional<size_t> file_size_limit;
  // Starts the program with standard output closed (or, when false, a pipe).
  bool close_stdout = false;
  // Closes the reading end of the pipe at once: every write is a broken pipe.
  bool broken_pipe = false;
};

// A scratch folder with a copy of the program in bin/, removed afterwards.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string ProgramPath() const { return Path("bin/vornette"); }
  std::string IniPath() const { return Path("bin/Vornette.ini"); }

  // Writes the configuration beside the program; nullopt removes it.
  void SetIni(const std::optional<std::string>& ini) const;

  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::string ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;

  // Runs the program with `args`, in the sandbox folder, and waits for it.
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;

  // Starts the program without waiting; Wait collects it.
  pid_t Start(const std::vector<std::string>& args, int* output_fd) const;
  static RunResult Wait(pid_t pid, int output_fd);

 private:
  std::string dir_;
};

// The console output cut at CR LF; the text after the last CR LF, if any,
// comes last.
std::vector<std::string> OutputLines(const std::string& output);

// The five lines of a file that was formatted.
std::vector<std::string> FormattedLines(const std::string& name);

// Every file below `dir`, sorted; empty when `dir` does not exist.
std::vector<std::string> FilesBelow(const std::string& dir);

// The folder of sample KRL programs, or empty when it is not on this machine.
std::string CorpusDir();

}  // namespace vornette::testing

#endif  // VORNETTE_TESTS_RUN_PROGRAM_H_
