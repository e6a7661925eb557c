// The entry of the vornette executable.
#include <string>
#include <vector>

#include "platform/env.h"
#include "program/vornette_cmd.h"

int main(int argc, char** argv) {
  // The shell has already split the command line. An argument is never
  // empty, so an empty one is dropped.
  std::vector<std::string> file_names;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] != '\0') file_names.emplace_back(argv[i]);
  }
  return vornette::RunVornette(vornette::SystemEnv(), file_names);
}
