#include "tests/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vornette::testing {

namespace fs = std::filesystem;

Sandbox::Sandbox(const std::string& program) {
  std::string pattern = (fs::temp_directory_path() / "vornette-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  dir_ = pattern;
  program_ = "bin/" + fs::path(program).filename().string();
  fs::create_directory(Path("bin"));
  fs::copy_file(program, Path(program_));
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(dir_, ignored);
}

void Sandbox::SetIni(const std::optional<std::string>& ini) const {
  fs::remove_all(Path("bin/Vornette.ini"));
  if (ini) WriteFile("bin/Vornette.ini", *ini);
}

void Sandbox::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(Path(name), std::ios::binary) << bytes;
}

std::string Sandbox::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "<missing>";
}

pid_t Sandbox::Start(const std::vector<std::string>& args, int* output_fd,
                     const RunOptions& options) const {
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  if (options.broken_pipe) ::close(fds[0]);
  const std::string program = Path(program_);
  WriteFile(".stdin", options.input);
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    if (options.close_stdout) ::close(STDOUT_FILENO);
    ::dup2(::open(Path(".stdin").c_str(), O_RDONLY), STDIN_FILENO);
    ::dup2(::open(Path(".stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    if (options.file_size_limit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*options.file_size_limit, *options.file_size_limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (::chdir(dir_.c_str()) == 0) ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  *output_fd = options.broken_pipe ? -1 : fds[0];
  return pid;
}

RunResult Sandbox::Wait(pid_t pid, int output_fd) const {
  RunResult result;
  char buffer[65536];
  for (ssize_t got; output_fd >= 0 && (got = ::read(output_fd, buffer, sizeof buffer)) > 0;) {
    result.output.append(buffer, static_cast<size_t>(got));
  }
  if (output_fd >= 0) ::close(output_fd);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.errors = ReadFile(".stderr");
  return result;
}

RunResult Sandbox::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  int fd = -1;
  const pid_t pid = Start(args, &fd, options);
  return Wait(pid, fd);
}

std::vector<std::string> FormattedLines(const std::string& name) {
  return {"Debug: Open file \"" + name + "\".", "Debug: Save file \"" + name + "~\".",
          "Debug: Process file \"" + name + "\".", "Debug: Save file \"" + name + "\".",
          "Debug: Done file \"" + name + "\"."};
}

std::vector<std::string> FilesBelow(const std::string& dir) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string CorpusDir() {
  return fs::is_directory(VORNETTE_CORPUS_DIR) ? std::string(VORNETTE_CORPUS_DIR) : "";
}

}  // namespace vornette::testing
