// Starting programs and holding files on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/run_program.h"

namespace vornette::testing {

const bool kOnWindows = false;

RunResult Sandbox::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  if (options.broken_pipe) ::close(fds[0]);
  const std::string program = Path("bin/" + program_);
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
  RunResult result;
  char buffer[65536];
  for (ssize_t got; !options.broken_pipe && (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
    result.output.append(buffer, static_cast<size_t>(got));
  }
  if (!options.broken_pipe) ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.errors = ReadFile(".stderr");
  return result;
}

bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0644) == 0; }

HeldFile::HeldFile(const std::string& path, bool others_may_read)
    : handle_(::open(path.c_str(), O_RDONLY)) {
  ::flock(static_cast<int>(handle_), (others_may_read ? LOCK_SH : LOCK_EX) | LOCK_NB);
}

HeldFile::~HeldFile() { ::close(static_cast<int>(handle_)); }

}  // namespace vornette::testing
