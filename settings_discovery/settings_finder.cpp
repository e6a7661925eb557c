#include "settings_discovery/settings_finder.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "basic/basic.h"
#include "vornette/vornette.h"

namespace vornette {
namespace {

constexpr std::string_view kIniName = "Vornette.ini";

}  // namespace

std::string FolderSeparators(Env& env) {
  std::string separators(env.PathSeparators());
  std::erase(separators, ':');
  return separators;
}

std::string AbsolutePath(Env& env, const std::string& path) {
  const std::string separators = FolderSeparators(env);
  const char separator = separators.front();
  const bool from_root = !path.empty() && (separators.find(path[0]) != std::string::npos ||
                                           (path.size() > 1 && path[1] == ':'));
  const std::string whole = from_root ? path : env.CurrentFolder() + separator + path;
  std::vector<std::string_view> parts;
  for (size_t start = 0; start < whole.size();) {
    size_t end = whole.find_first_of(separators, start);
    if (end == std::string::npos) end = whole.size();
    const std::string_view part = std::string_view(whole).substr(start, end - start);
    if (part == "..") {
      if (!parts.empty() && !parts.back().ends_with(':')) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result =
      separators.find(whole[0]) != std::string::npos ? std::string(1, separator) : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += separator;
    result += parts[i];
  }
  return result;
}

bool SettingsFinder::For(const std::string& path, FoundSettings* found, std::string* error) {
  if (explicit_file_) return Load(*explicit_file_, found, error);
  // Each folder from the file's own up to the root, the nearest first.
  const std::string absolute = AbsolutePath(env_, path);
  const std::string separators = FolderSeparators(env_);
  std::vector<std::string> passed;  // folders without a Vornette.ini of their own
  std::optional<std::string> nearest;
  for (size_t end = absolute.find_last_of(separators); end != std::string::npos;
       end = end == 0 ? std::string::npos : absolute.find_last_of(separators, end - 1)) {
    const std::string folder = absolute.substr(0, end + 1);
    if (auto known = nearest_.find(folder); known != nearest_.end()) {
      nearest = known->second;
      break;
    }
    const std::string candidate = folder + std::string(kIniName);
    if (env_.KindOf(candidate) == Env::PathKind::kFile) {
      nearest_[folder] = nearest = candidate;
      break;
    }
    passed.push_back(folder);
  }
  for (const std::string& folder : passed) nearest_[folder] = nearest;
  if (nearest) return Load(*nearest, found, error);
  std::string executable;
  if (env_.ExecutablePath(&executable)) {
    const size_t end = executable.find_last_of(env_.PathSeparators());
    const std::string beside = executable.substr(0, end + 1) + std::string(kIniName);
    if (env_.KindOf(beside) == Env::PathKind::kFile) return Load(beside, found, error);
  }
  *found = {builtin_, std::string(kBuiltinSource)};
  return true;
}

bool SettingsFinder::Load(const std::string& ini_path, FoundSettings* found, std::string* error) {
  if (auto known = loaded_.find(ini_path); known != loaded_.end()) {
    *found = known->second;
    return true;
  }
  ByteBuffer bytes;
  const FileResult result = env_.ReadWholeFile(ini_path, &bytes);
  if (result != FileResult::kOk) {
    *error = "cannot read its configuration file " + ini_path;
    return false;
  }
  *found = loaded_[ini_path] = {SettingsFromIni(bytes.view()), ini_path};
  return true;
}

}  // namespace vornette
