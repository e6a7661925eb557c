#include "program/console_log.h"

#include "basic/constants.h"

namespace vornette {

ConsoleLog::ConsoleLog(Env& env) : env_(env), console_(env.StdoutIsConsole()) {}

ConsoleLog::~ConsoleLog() { Flush(); }

void ConsoleLog::WriteLogLine(std::string_view text) {
  buffer_.append(text);
  buffer_.append(kLineEnd);
  if (console_ || buffer_.size() >= kBufferSize) Flush();
}

void ConsoleLog::Flush() {
  if (buffer_.empty()) return;
  Emit(buffer_);
  buffer_.clear();
}

void ConsoleLog::Emit(std::string_view bytes) {
  if (failed_) return;
  if (!env_.WriteStdout(bytes)) failed_ = true;
}

}  // namespace vornette
