#include "config/config.h"

#include <array>
#include <cstdint>
#include <new>
#include <optional>

#include "basic/basic.h"
#include "basic/constants.h"
#include "config/private_profile.h"

namespace vornette {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits in `base` to the very end; nullopt when there are none, when any
// other character stands among them, or when the value exceeds `limit`.
std::optional<uint64_t> ParseDigits(std::string_view digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    // Leading zeros keep the value at 0, so they never count against the limit.
    if (value > limit) return std::nullopt;
  }
  return value;
}

// The configuration keys of the eight categories, in category order.
constexpr std::array<std::string_view, kKeywordCategoryCount> kCapitalizationKeys = {
    "CAP_ProgramFlowStrings",     "CAP_SetupCommandStrings",     "CAP_MotionCommandStrings",
    "CAP_MathAndFunctionStrings", "CAP_IOCommandStrings",        "CAP_TypeDefinitionStrings",
    "CAP_SystemVariableStrings",  "CAP_OpusTechFunctionStrings",
};

}  // namespace

int32_t ParseIntegerOrDefault(std::string_view text, int32_t default_value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  for (std::string_view marker : {"0x", "0X", "$", "x", "X"}) {
    if (text.starts_with(marker)) {
      const auto value = ParseDigits(text.substr(marker.size()), 16, 0xFFFFFFFFu);
      if (!value) return default_value;
      return static_cast<int32_t>(static_cast<uint32_t>(*value));
    }
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  const auto value = ParseDigits(text, 10, limit);
  if (!value) return default_value;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(*value)
                                       : static_cast<int64_t>(*value));
}

std::string ConfigFilePathFor(std::string_view executable_path, std::string_view separators) {
  const size_t last = executable_path.find_last_of(separators);
  std::string path;
  if (last != std::string_view::npos) {
    path.assign(executable_path.substr(0, last + 1));
    // The directory part ends in a drive colon on some systems; a separator
    // must follow it all the same.
    if (path.back() != separators.front()) path.push_back(separators.front());
  }
  path.append(kConfigFileName);
  return path;
}

std::optional<std::string> ConfigFilePath(Env& env) {
  std::string executable;
  if (!env.ExecutablePath(&executable)) return std::nullopt;
  return ConfigFilePathFor(executable, env.PathSeparators());
}

std::string ConfigReader::ReadText(std::string_view section, std::string_view key,
                                   std::string_view default_text) {
  if (!failure_.empty()) return std::string(default_text);
  if (env_ == nullptr) return LookUpProfileString(bytes_, section, key, default_text);
  try {
    ByteBuffer bytes;
    // The file is read whole even where the system looks the value up
    // itself: a file that cannot be read is a failure, never the defaults.
    const FileResult result = env_->ReadWholeFile(path_, &bytes);
    std::string value;
    if (result == FileResult::kOk &&
        env_->NativeProfileString(path_, section, key, default_text, &value)) {
      return value;
    }
    if (result == FileResult::kOk) {
      return LookUpProfileString(bytes.view(), section, key, default_text);
    }
    failure_ = FileFailureText(result, env_->ConsoleName(path_));
  } catch (const std::bad_alloc&) {
    failure_ = FileFailureText(FileResult::kNoMemory, env_->ConsoleName(path_));
  }
  return std::string(default_text);
}

int32_t ConfigReader::ReadNumber(std::string_view section, std::string_view key,
                                 int32_t default_value) {
  return ParseIntegerOrDefault(ReadText(section, key, ""), default_value);
}

bool ConfigReader::ReadFlag(std::string_view section, std::string_view key, bool default_value) {
  return ReadNumber(section, key, default_value ? 1 : 0) != 0;
}

CapitalizationMode ReadCapitalizationMode(ConfigReader& reader, std::string_view section,
                                          std::string_view key) {
  const std::string value = reader.ReadText(section, key, "None");
  if (SameTextNoCase(value, "UpperCase")) return CapitalizationMode::UpperCase;
  if (SameTextNoCase(value, "LowerCase")) return CapitalizationMode::LowerCase;
  return CapitalizationMode::None;
}

LineEndingMode ReadLineEndingMode(ConfigReader& reader, std::string_view section,
                                  std::string_view key) {
  const std::string value = reader.ReadText(section, key, "CRLF");
  if (SameTextNoCase(value, "LF")) return LineEndingMode::LF;
  if (SameTextNoCase(value, "Auto")) return LineEndingMode::Auto;
  return LineEndingMode::CRLF;
}

bool LoadConfiguration(Env& env, FormatterSettings& settings, std::string* error) {
  error->clear();
  const std::optional<std::string> path = ConfigFilePath(env);
  if (!path) {
    // Looking for the file elsewhere (in the current folder, say) would
    // quietly format with settings nobody meant.
    *error = Substitute(kConfigReadErrorMessage, {kConfigFileName, kOwnPathUnknownText});
    return false;
  }
  if (!env.FileExists(*path)) return false;
  ConfigReader reader(env, *path);
  ReadSettings(reader, settings);
  if (reader.Failure().empty()) return true;
  *error = Substitute(kConfigReadErrorMessage, {env.ConsoleName(*path), reader.Failure()});
  return false;
}

std::string SettingsIniText(const FormatterSettings& settings) {
  auto flag = [](std::string_view key, bool on) {
    return std::string(key) + (on ? "=1\n" : "=0\n");
  };
  std::string text = "[Spacing]\n" + flag("SpacingOperators", settings.SpacingOperators);
  text += flag("TrimTrailingBlanks", settings.TrimTrailingBlanks);
  text += flag("AlignAssignments", settings.AlignAssignments);
  text += "[Indent]\nIndentWidth=" + std::to_string(settings.IndentWidth) + "\n";
  text += flag("ExtendedBlocks", settings.ExtendedBlocks);
  text += flag("IndentRoutineBodies", settings.IndentRoutineBodies);
  text += flag("KeepColumnOneComments", settings.KeepColumnOneComments);
  text += flag("IndentFolds", settings.IndentFolds);
  text += "[Capitalization]\n";
  static constexpr std::array<std::string_view, 3> kModes = {"None", "UpperCase", "LowerCase"};
  for (size_t i = 0; i < kKeywordCategoryCount; ++i) {
    text.append(kCapitalizationKeys[i]).append("=");
    text.append(kModes[static_cast<size_t>(settings.Capitalization[i])]).append("\n");
  }
  static constexpr std::array<std::string_view, 3> kLineEndings = {"CRLF", "LF", "Auto"};
  text.append("[Output]\nLineEnding=");
  text.append(kLineEndings[static_cast<size_t>(settings.LineEnding)]).append("\n");
  return text;
}

void ReadSettings(ConfigReader& reader, FormatterSettings& settings) {
  settings.SpacingOperators = reader.ReadFlag("Spacing", "SpacingOperators", true);
  settings.IndentWidth = reader.ReadNumber("Indent", "IndentWidth", 2);
  for (size_t i = 0; i < kKeywordCategoryCount; ++i) {
    settings.Capitalization[i] =
        ReadCapitalizationMode(reader, "Capitalization", kCapitalizationKeys[i]);
  }
  settings.ExtendedBlocks = reader.ReadFlag("Indent", "ExtendedBlocks", false);
  settings.IndentRoutineBodies = reader.ReadFlag("Indent", "IndentRoutineBodies", true);
  settings.KeepColumnOneComments = reader.ReadFlag("Indent", "KeepColumnOneComments", false);
  settings.LineEnding = ReadLineEndingMode(reader, "Output", "LineEnding");
  settings.TrimTrailingBlanks = reader.ReadFlag("Spacing", "TrimTrailingBlanks", false);
  settings.IndentFolds = reader.ReadFlag("Indent", "IndentFolds", true);
  settings.AlignAssignments = reader.ReadFlag("Spacing", "AlignAssignments", false);
}

}  // namespace vornette
