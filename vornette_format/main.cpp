// The entry of the vornette-format executable.
#include <string>
#include <vector>

#include "platform/env.h"
#include "vornette_format/run_format.h"
#include "vornette_format/shipped_ini.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vornette::RunFormat(vornette::SystemEnv(), args, vornette::kShippedIni);
}
