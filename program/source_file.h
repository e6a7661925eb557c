// The pass over one source file: load, backup, formatting, save, and the
// console lines that report each step.
#ifndef VORNETTE_PROGRAM_SOURCE_FILE_H_
#define VORNETTE_PROGRAM_SOURCE_FILE_H_

#include <string>

#include "formatter/line_list.h"
#include "platform/env.h"
#include "program/console_log.h"
#include "vornette/settings.h"

namespace vornette {

// Reports the attempt, tests that `file_name` exists and reads it into `list`,
// whose lines are to be written with the line ends `ending` chooses. On
// failure reports it and returns false.
bool LoadSourceFile(Env& env, ConsoleLog& log, const std::string& file_name, LineList& list,
                    LineEndingMode ending);

// Reports the attempt and writes `list` to `file_name` in its writing format.
// On failure reports it and returns false.
bool SaveSourceFile(Env& env, ConsoleLog& log, const std::string& file_name, const LineList& list);

// The whole pass over one file. Load and save failures are reported and end
// the pass; a failure that nothing catches (memory exhausted while formatting)
// propagates as std::bad_alloc, after the backup is written and before the
// file itself is touched.
void ProcessSourceFile(Env& env, ConsoleLog& log, const FormatterSettings& settings,
                       const std::string& file_name);

}  // namespace vornette

#endif  // VORNETTE_PROGRAM_SOURCE_FILE_H_
