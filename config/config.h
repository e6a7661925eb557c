// Locating Vornette.ini and turning its values into the run's settings.
#ifndef VORNETTE_CONFIG_CONFIG_H_
#define VORNETTE_CONFIG_CONFIG_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "vornette/settings.h"

namespace vornette {

// Turns a value text into a signed 32-bit number: optional leading blanks,
// then a decimal number with an optional sign, or a hexadecimal one after
// "$", "x", "X", "0x" or "0X" (up to FFFFFFFF, taken as two's complement).
// Anything else, or a value out of range, gives `default_value`.
int32_t ParseIntegerOrDefault(std::string_view text, int32_t default_value);

// The configuration file's path for a program file at `executable_path`: its
// directory part (up to the last of `separators`), then "Vornette.ini".
std::string ConfigFilePathFor(std::string_view executable_path, std::string_view separators);

// The full path of the configuration file beside the running program, or
// nothing when the program's own path cannot be had.
std::optional<std::string> ConfigFilePath(Env& env);

// Reads values from one configuration file, one lookup at a time. The first
// failure to read the file is kept; the reads after it are skipped and give
// their defaults, so the caller checks Failure() once at the end.
class ConfigReader {
 public:
  // Reads the file at `path` through `env` for every lookup.
  ConfigReader(Env& env, std::string path) : env_(&env), path_(std::move(path)) {}
  // Looks values up in `ini_bytes`, the whole text of an INI file.
  explicit ConfigReader(std::string_view ini_bytes) : bytes_(ini_bytes) {}

  // The value text of `key` in `section`, or `default_text`; at most 2047 bytes.
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view default_text);

  // The value as a number; a missing, empty or unusable value gives `default_value`.
  int32_t ReadNumber(std::string_view section, std::string_view key, int32_t default_value);

  // The value as a number, true when not 0; unusable values give `default_value`.
  bool ReadFlag(std::string_view section, std::string_view key, bool default_value);

  // The text of the first failure, or empty when every read succeeded.
  const std::string& Failure() const { return failure_; }

 private:
  Env* env_ = nullptr;
  const std::string path_;
  std::string_view bytes_;
  std::string failure_;
};

// "UpperCase" or "LowerCase" in any letter case; anything else is None.
CapitalizationMode ReadCapitalizationMode(ConfigReader& reader, std::string_view section,
                                          std::string_view key);

// "LF" or "Auto" in any letter case; anything else is CRLF.
LineEndingMode ReadLineEndingMode(ConfigReader& reader, std::string_view section,
                                  std::string_view key);

// Reads every setting through `reader`, the ten of the classic settings
// first and in their order, storing each as soon as it is read.
void ReadSettings(ConfigReader& reader, FormatterSettings& settings);

// The lines of a Vornette.ini that ReadSettings reads back as `settings`,
// every key present.
std::string SettingsIniText(const FormatterSettings& settings);

// Fills `settings` from the configuration file and returns true. Returns
// false with `error` empty when the file is missing (or a directory stands
// in its place), and false with the failure in `error` when it could not be
// read or the program's own path is unknown: half-read settings are never
// used.
bool LoadConfiguration(Env& env, FormatterSettings& settings, std::string* error);

}  // namespace vornette

#endif  // VORNETTE_CONFIG_CONFIG_H_
