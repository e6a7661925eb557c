// Running the built vornette binary in a scratch folder, as a user would.
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
  std::string errors;    // everything it wrote to standard error
};

struct RunOptions {
  std::optional<size_t> file_size_limit;  // RLIMIT_FSIZE, in bytes
  bool close_stdout = false;              // start with standard output closed
  bool broken_pipe = false;               // every write to standard output fails
  std::string input = {};                 // standard input
};

// A scratch folder with a copy of a program in bin/ (vornette unless told
// otherwise), removed afterwards.
class Sandbox {
 public:
  explicit Sandbox(const std::string& program = VORNETTE_BINARY);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Writes bin/Vornette.ini beside the program; nullopt removes it.
  void SetIni(const std::optional<std::string>& ini) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  // The file's bytes, or "<missing>".
  std::string ReadFile(const std::string& name) const;

  // Starts the program with `args` in the sandbox folder; Wait collects it.
  pid_t Start(const std::vector<std::string>& args, int* output_fd,
              const RunOptions& options = {}) const;
  RunResult Wait(pid_t pid, int output_fd) const;
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;

 private:
  std::string dir_;
  std::string program_;  // in bin/
};

// The bytes of the file at `path`, or "<missing>".
std::string ReadBytes(const std::string& path);

// The five console lines of a file that was formatted.
std::vector<std::string> FormattedLines(const std::string& name);

// Every file below `dir`, sorted; none when `dir` does not exist.
std::vector<std::string> FilesBelow(const std::string& dir);

// The folder of sample KRL programs, or empty when it is not on this machine.
std::string CorpusDir();

}  // namespace vornette::testing

#endif  // VORNETTE_TESTS_RUN_PROGRAM_H_
