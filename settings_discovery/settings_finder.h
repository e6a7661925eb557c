// Which Vornette.ini governs a file: the settings every way in shares.
#ifndef VORNETTE_SETTINGS_DISCOVERY_SETTINGS_FINDER_H_
#define VORNETTE_SETTINGS_DISCOVERY_SETTINGS_FINDER_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "vornette/settings.h"

namespace vornette {

// The separators between the folders of a path, without a drive's colon.
std::string FolderSeparators(Env& env);

// `path` made absolute and without "." and ".." parts, as written (links are
// not followed).
std::string AbsolutePath(Env& env, const std::string& path);

// Where the built-in settings come from, as FoundSettings names it.
inline constexpr std::string_view kBuiltinSource = "built-in defaults";

// Settings and where they came from: a file's path, or kBuiltinSource.
struct FoundSettings {
  FormatterSettings settings;
  std::string source;
};

// Finds the settings for files: an explicit configuration file, else the
// nearest Vornette.ini in the file's folder or above, else the one beside
// the program, else the built-in settings `builtin` (the shipped
// Vornette.ini's, read once). Each folder is looked at once.
class SettingsFinder {
 public:
  SettingsFinder(Env& env, std::optional<std::string> explicit_file,
                 const FormatterSettings& builtin)
      : env_(env), explicit_file_(std::move(explicit_file)), builtin_(builtin) {}

  // The settings for the file at `path` (which need not exist). False, with
  // the reason in `error`, when the configuration file could not be read.
  bool For(const std::string& path, FoundSettings* found, std::string* error);

 private:
  bool Load(const std::string& ini_path, FoundSettings* found, std::string* error);

  Env& env_;
  const std::optional<std::string> explicit_file_;
  const FormatterSettings builtin_;
  std::map<std::string, std::optional<std::string>> nearest_;  // folder -> Vornette.ini, if any
  std::map<std::string, FoundSettings> loaded_;
};

}  // namespace vornette

#endif  // VORNETTE_SETTINGS_DISCOVERY_SETTINGS_FINDER_H_
