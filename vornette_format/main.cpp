// The entry of the vornette-format executable.
#include <string>
#include <vector>

#include "language_server/server.h"
#include "platform/env.h"
#include "vornette_format/run_format.h"
#include "vornette_format/shipped_ini.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--lsp") {
    return vornette::RunLanguageServer(vornette::SystemEnv(), vornette::kShippedIni);
  }
  return vornette::RunFormat(vornette::SystemEnv(), args, vornette::kShippedIni);
}
