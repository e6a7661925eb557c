// Running the built programs in a scratch folder, as a user would, on POSIX
// systems and on Windows (under Wine) alike.
#ifndef VORNETTE_TESTS_RUN_PROGRAM_H_
#define VORNETTE_TESTS_RUN_PROGRAM_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornette::testing {

// True in the Windows build of the tests.
extern const bool kOnWindows;

struct RunResult {
  int exit_status = -1;  // -1 when the program did not exit normally
  int signal = 0;        // the signal that ended it, if one did
  std::string output;    // everything it wrote to standard output
  std::string errors;    // everything it wrote to standard error
};

struct RunOptions {
  std::optional<size_t> file_size_limit = {};  // POSIX only: RLIMIT_FSIZE, in bytes
  bool close_stdout = false;                   // POSIX only: standard output closed
  bool broken_pipe = false;                    // POSIX only: writes to standard output fail
  std::string input = {};                      // standard input
  std::string command_line = {};               // Windows only: the whole line, as typed
};

// A scratch folder with a copy of a program in bin/ (vornette unless told
// otherwise), removed afterwards.
class Sandbox {
 public:
  explicit Sandbox(const std::string& program = VORNETTE_BINARY);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // The full path of `name` (written with "/") in the sandbox, with the
  // system's own separators.
  std::string Path(const std::string& name) const;
  // Writes bin/Vornette.ini beside the program; nullopt removes it.
  void SetIni(const std::optional<std::string>& ini) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  // The file's bytes, or "<missing>".
  std::string ReadFile(const std::string& name) const;

  // Runs the program with `args` in the sandbox folder.
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;

 private:
  std::string dir_;
  std::string program_;  // its file name in bin/
};

// Makes a named pipe at `path`; false where the system has none.
bool MakeFifo(const std::string& path);

// Holds a file open as another program would, until destroyed: others may
// never write it, and read it only when `others_may_read`.
class HeldFile {
 public:
  HeldFile(const std::string& path, bool others_may_read);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  intptr_t handle_;
};

// The bytes of the file at `path`, or "<missing>".
std::string ReadBytes(const std::string& path);

// Every file below `dir`, sorted; none when `dir` does not exist.
std::vector<std::string> FilesBelow(const std::string& dir);

// The folder of sample KRL programs, or empty when it is not on this machine.
std::string CorpusDir();

}  // namespace vornette::testing

#endif  // VORNETTE_TESTS_RUN_PROGRAM_H_
