// The entry of the vornette executable.
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "program/command_line.h"
#include "program/vornette_cmd.h"

int main(int argc, char** argv) {
  vornette::Env& env = vornette::SystemEnv();
  std::vector<std::string> file_names;
  if (const std::optional<std::string> line = env.CommandLine()) {
    // Windows hands over one line; argument 0 names the program itself.
    file_names = vornette::SplitCommandLine(*line);
    if (!file_names.empty()) file_names.erase(file_names.begin());
  } else {
    // The shell has already split the command line. An argument is never
    // empty, so an empty one is dropped.
    for (int i = 1; i < argc; ++i) {
      if (argv[i][0] != '\0') file_names.emplace_back(argv[i]);
    }
  }
  return vornette::RunVornette(env, file_names);
}
