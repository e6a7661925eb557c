// The program: banner, configuration, one pass per file named.
#ifndef VORNETTE_PROGRAM_VORNETTE_CMD_H_
#define VORNETTE_PROGRAM_VORNETTE_CMD_H_

#include <string>
#include <vector>

#include "platform/env.h"

namespace vornette {

// Runs the program over the source files `file_names` (the arguments after the
// program's own) and returns the exit status: 0 on every normal end, 1 after a
// failure that nothing catches or once standard output has failed.
int RunVornette(Env& env, const std::vector<std::string>& file_names);

}  // namespace vornette

#endif  // VORNETTE_PROGRAM_VORNETTE_CMD_H_
