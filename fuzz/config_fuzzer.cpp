// The configuration lookup and the reading of numbers, flags and mode words
// over arbitrary INI text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "basic/basic.h"
#include "config/config.h"
#include "config/private_profile.h"
#include "fuzz/fuzz_check.h"
#include "tests/memory_env.h"

namespace {

// A second, independent reading of a number, to compare with.
bool ReferenceParse(std::string_view text, int64_t* value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int base = 10;
  bool negative = false;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$") || text.starts_with("x") || text.starts_with("X")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("-") || text.starts_with("+")) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  int64_t number = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    number = number * base + digit;
    if (number > (int64_t{1} << 40)) return false;
  }
  if (base == 16) {
    if (number > 0xFFFFFFFFLL) return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(number));
    return true;
  }
  if (negative) number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int64_t>(number);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vornette;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Four of the twenty lookups, drawn by a hash of the text: every lookup
  // reads the whole text, and all twenty each time cost most of a run.
  static constexpr std::string_view kSections[] = {"Spacing", "Indent", "Capitalization", "", "a"};
  static constexpr std::string_view kKeys[] = {"SpacingOperators", "IndentWidth",
                                               "CAP_IOCommandStrings", "k"};
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  for (int draw = 0; draw < 4; ++draw, hash /= 20) {
    const std::string_view section = kSections[hash % 20 / 4], key = kKeys[hash % 4];
    const std::string value = LookUpProfileString(text, section, key, "<default>");
    FUZZ_CHECK(value.size() <= kMaxProfileValueLength);
    int64_t reference = 0;
    const bool valid = ReferenceParse(value, &reference);
    const int32_t parsed = ParseIntegerOrDefault(value, 12345);
    const int32_t other = ParseIntegerOrDefault(value, -7);
    if (valid) {
      FUZZ_CHECK(parsed == reference && other == reference);
    } else {
      FUZZ_CHECK(parsed == 12345 && other == -7);
    }
  }

  MemoryEnv env;
  env.files["/opt/vornette/Vornette.ini"] = std::string(text);
  FormatterSettings settings;
  std::string error;
  FUZZ_CHECK(LoadConfiguration(env, settings, &error));
  const std::string mode =
      LookUpProfileString(text, "Capitalization", "CAP_IOCommandStrings", "None");
  const CapitalizationMode expected =
      SameTextNoCase(mode, "UpperCase")   ? CapitalizationMode::UpperCase
      : SameTextNoCase(mode, "LowerCase") ? CapitalizationMode::LowerCase
                                          : CapitalizationMode::None;
  FUZZ_CHECK(settings.ModeOf(KeywordCategory::IOCommand) == expected);
  return 0;
}
