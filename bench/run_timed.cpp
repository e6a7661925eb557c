// Runs a command several times and prints the median wall time and the
// largest peak memory (maximum resident set) of its runs.
// Usage: run_timed <runs> [--prepare <shell command>] <command> [args...]
// The prepare command runs, untimed, before each run (to restore an input).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: run_timed <runs> <command> [args...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  int first = 2;
  const char* prepare = nullptr;
  if (argc > 4 && std::string_view(argv[2]) == "--prepare") {
    prepare = argv[3];
    first = 4;
  }
  std::vector<double> seconds;
  long peak_kb = 0;
  for (int r = 0; r < runs; ++r) {
    if (prepare != nullptr && std::system(prepare) != 0) {
      std::fprintf(stderr, "run_timed: the prepare command failed\n");
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      if (!freopen("/dev/null", "w", stdout)) _exit(126);
      execvp(argv[first], argv + first);
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "run_timed: the command failed\n");
      return 1;
    }
    seconds.push_back(std::chrono::duration<double>(end - start).count());
    peak_kb = std::max(peak_kb, usage.ru_maxrss);
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("%.6f %ld\n", seconds[seconds.size() / 2], peak_kb);
  return 0;
}
