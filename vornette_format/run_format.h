// The vornette-format program: format, check or diff KRL files for editors,
// version-control hooks and CI.
#ifndef VORNETTE_VORNETTE_FORMAT_RUN_FORMAT_H_
#define VORNETTE_VORNETTE_FORMAT_RUN_FORMAT_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace vornette {

// Runs vornette-format with `args` (after the program's name) and returns
// its exit status: 0 when all went well, 1 when --check or --diff found a
// file that would change, 2 after any error. `builtin_ini` is the text of
// the shipped Vornette.ini, whose settings apply when no other is found.
int RunFormat(Env& env, const std::vector<std::string>& args, std::string_view builtin_ini);

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_RUN_FORMAT_H_
