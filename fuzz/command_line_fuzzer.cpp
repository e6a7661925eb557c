// The splitting of a whole command line into arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "program/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments = SplitCommandLine(line);
  // Arguments are never empty, hold no double quote, and are the line's own
  // bytes in order.
  size_t at = 0;
  for (const std::string& argument : arguments) {
    FUZZ_CHECK(!argument.empty());
    FUZZ_CHECK(argument.find('"') == std::string::npos);
    FUZZ_CHECK(argument.find('\0') == std::string::npos);
    for (char c : argument) {
      at = line.find(c, at);
      FUZZ_CHECK(at != std::string_view::npos);
      ++at;
    }
  }
  // Without any double quote, arguments are the runs of bytes above 0x20.
  if (line.find('"') == std::string_view::npos && line.find('\0') == std::string_view::npos) {
    std::vector<std::string> runs;
    std::string run;
    for (char c : line) {
      if (static_cast<unsigned char>(c) > 0x20) {
        run.push_back(c);
      } else if (!run.empty()) {
        runs.push_back(std::move(run));
        run.clear();
      }
    }
    if (!run.empty()) runs.push_back(run);
    FUZZ_CHECK(runs == arguments);
  }
  return 0;
}
