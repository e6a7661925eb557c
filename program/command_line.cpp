#include "program/command_line.h"

namespace vornette {

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  // The line ends at its first NUL byte, as a C string does.
  command_line = command_line.substr(0, command_line.find('\0'));
  std::vector<std::string> arguments;
  size_t i = 0;
  const size_t n = command_line.size();
  auto byte = [&](size_t at) { return static_cast<unsigned char>(command_line[at]); };
  while (true) {
    while (true) {
      while (i < n && byte(i) <= 0x20) ++i;
      if (i + 1 < n && command_line[i] == '"' && command_line[i + 1] == '"') {
        i += 2;
        continue;
      }
      break;
    }
    if (i >= n) break;
    std::string argument;
    bool quoted = false;
    for (; i < n; ++i) {
      const char c = command_line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && byte(i) <= 0x20) {
        break;
      } else {
        argument.push_back(c);
      }
    }
    if (argument.empty()) break;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace vornette
