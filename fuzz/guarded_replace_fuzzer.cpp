// GuardedReplace with an arbitrary line, patterns and flags, against the
// literal steps.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formatter/guarded_replace.h"
#include "fuzz/fuzz_check.h"
#include "tests/literal_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  if (size < 3) return 0;
  const uint8_t flags = data[0] & 3;
  const bool whole_word = data[0] & 4;
  // The patterns are short, as every caller's are; their lengths come first.
  const size_t old_length = data[1] % 8;
  const size_t new_length = data[2] % 8;
  std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  const std::string_view old_pattern = rest.substr(0, old_length);
  rest.remove_prefix(old_pattern.size());
  const std::string_view new_pattern = rest.substr(0, new_length);
  rest.remove_prefix(new_pattern.size());
  const std::string_view line = rest;

  const std::string fast = GuardedReplace(line, old_pattern, new_pattern, flags, whole_word);
  FUZZ_CHECK(fast == literal::GuardedReplace(line, old_pattern, new_pattern, flags, whole_word));
  if (old_pattern.empty() || line.empty()) FUZZ_CHECK(fast == line);
  // Nothing from the first ";" on changes when no replacement adds a ";".
  const size_t semicolon = line.find(';');
  if (semicolon != std::string_view::npos && old_pattern.find(';') == std::string_view::npos) {
    FUZZ_CHECK(fast.ends_with(line.substr(semicolon + 1)));
  }
  return 0;
}
