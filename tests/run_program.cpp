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
#include <stdexcept>

#include "tests/memory_env.h"

namespace vornette::testing {

namespace fs = std::filesystem;

Sandbox::Sandbox() {
  std::string pattern = (fs::temp_directory_path() / "vornette-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  fs::create_directory(Path("bin"));
  fs::copy_file(VORNETTE_BINARY, ProgramPath());
  fs::permissions(ProgramPath(), fs::perms::owner_all);
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(dir_, ignored);
}

void Sandbox::SetIni(const std::optional<std::string>& ini) const {
  if (ini) {
    WriteFile("bin/Vornette.ini", *ini);
  } else {
    fs::remove(IniPath());
  }
}

void Sandbox::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + name);
}

std::string Sandbox::ReadFile(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Sandbox::Exists(const std::string& name) const { return fs::exists(Path(name)); }

namespace {

[[noreturn]] void ExecProgram(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

std::string ReadAll(int fd) {
  std::string output;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    output.append(buffer, static_cast<size_t>(got));
  }
  return output;
}

}  // namespace

pid_t Sandbox::Start(const std::vector<std::string>& args, int* output_fd) const {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_fds[1], STDOUT_FILENO);
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    if (::chdir(dir_.c_str()) != 0) ::_exit(126);
    ExecProgram(ProgramPath(), args);
  }
  ::close(pipe_fds[1]);
  *output_fd = pipe_fds[0];
  return pid;
}

RunResult Sandbox::Wait(pid_t pid, int output_fd) {
  RunResult result;
  if (output_fd >= 0) {
    result.output = ReadAll(output_fd);
    ::close(output_fd);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

RunResult Sandbox::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  if (options.broken_pipe) {
    ::close(pipe_fds[0]);
    pipe_fds[0] = -1;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (options.close_stdout) {
      ::close(STDOUT_FILENO);
    } else {
      ::dup2(pipe_fds[1], STDOUT_FILENO);
    }
    if (pipe_fds[0] >= 0) ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    if (options.file_size_limit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*options.file_size_limit, *options.file_size_limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (::chdir(dir_.c_str()) != 0) ::_exit(126);
    ExecProgram(ProgramPath(), args);
  }
  ::close(pipe_fds[1]);
  return Wait(pid, pipe_fds[0]);
}

std::vector<std::string> OutputLines(const std::string& output) {
  return SplitConsoleLines(output);
}

std::vector<std::string> FormattedLines(const std::string& name) {
  return {"Debug: Open file \"" + name + "\".", "Debug: Save file \"" + name + "~\".",
          "Debug: Process file \"" + name + "\".", "Debug: Save file \"" + name + "\".",
          "Debug: Done file \"" + name + "\"."};
}

std::vector<std::string> FilesBelow(const std::string& dir) {
  std::vector<std::string> files;
  std::error_code error;
  if (dir.empty() || !fs::is_directory(dir, error)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string CorpusDir() {
  std::error_code error;
  return fs::is_directory(VORNETTE_CORPUS_DIR, error) ? std::string(VORNETTE_CORPUS_DIR) : "";
}

}  // namespace vornette::testing
