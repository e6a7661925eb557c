#include "program/vornette_cmd.h"

#include <new>

#include "basic/basic.h"
#include "basic/constants.h"
#include "config/config.h"
#include "program/console_log.h"
#include "program/source_file.h"

namespace vornette {

namespace {

// Every line is handed over before the run ends; a report that could not be
// written is a failed run.
int Finish(ConsoleLog& log, int status) {
  log.Flush();
  return log.Failed() ? kExitFatal : status;
}

}  // namespace

int RunVornette(Env& env, const std::vector<std::string>& file_names) {
  ConsoleLog log(env);
  log.WriteLogLine(kBanner);

  FormatterSettings settings;
  std::string error;
  if (!LoadConfiguration(env, settings, &error)) {
    if (!error.empty()) log.WriteLogLine(std::string(kErrorPrefix) + error);
    return Finish(log, kExitNormal);
  }

  try {
    for (const std::string& file_name : file_names) {
      ProcessSourceFile(env, log, settings, file_name);
      // Nobody can read the report any more: stop between two files rather
      // than format the rest unseen.
      if (log.Failed()) return Finish(log, kExitFatal);
    }
  } catch (const std::bad_alloc&) {
    log.WriteLogLine(std::string(kErrorPrefix) +
                     Substitute(kFatalFailureMessage, {kOutOfMemoryText}));
    return Finish(log, kExitFatal);
  }
  return Finish(log, kExitNormal);
}

}  // namespace vornette
