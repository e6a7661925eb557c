// The console log: every line the program reports goes to standard output,
// ended by CR LF.
#ifndef VORNETTE_PROGRAM_CONSOLE_LOG_H_
#define VORNETTE_PROGRAM_CONSOLE_LOG_H_

#include <string>
#include <string_view>

#include "platform/env.h"

namespace vornette {

class ConsoleLog {
 public:
  // On a console each line is handed over as soon as it is complete; when
  // standard output is redirected, lines are collected up to this many bytes.
  static constexpr size_t kBufferSize = 128;

  explicit ConsoleLog(Env& env);
  ConsoleLog(const ConsoleLog&) = delete;
  ConsoleLog& operator=(const ConsoleLog&) = delete;
  ~ConsoleLog();

  // Writes `text` followed by CR LF.
  void WriteLogLine(std::string_view text);

  // Hands over whatever is still collected.
  void Flush();

  // True once a write to standard output has failed (closed, broken pipe,
  // full). Lines after that are dropped.
  bool Failed() const { return failed_; }

 private:
  void Emit(std::string_view bytes);

  Env& env_;
  const bool console_;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace vornette

#endif  // VORNETTE_PROGRAM_CONSOLE_LOG_H_
