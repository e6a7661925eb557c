#include "settings_discovery/ignore_files.h"

#include <algorithm>

#include "settings_discovery/settings_finder.h"

namespace vornette {
namespace {

constexpr std::string_view kIgnoreName = ".vornetteignore";

}  // namespace

IgnoreFiles::IgnoreFiles(Env& env) : env_(env), separators_(FolderSeparators(env)) {}

bool IgnoreFiles::PatternsIn(const std::string& folder, const IgnorePatterns** patterns,
                             std::string* error) {
  auto known = files_.find(folder);
  if (known == files_.end()) {
    const std::string name = folder + std::string(kIgnoreName);
    std::unique_ptr<IgnorePatterns> read;
    if (env_.KindOf(name) == Env::PathKind::kFile) {
      ByteBuffer bytes;
      if (env_.ReadWholeFile(name, &bytes) != FileResult::kOk) {
        *error = "cannot read " + name;
        return false;
      }
      read = std::make_unique<IgnorePatterns>(bytes.view());
    }
    known = files_.emplace(folder, std::move(read)).first;
  }
  *patterns = known->second.get();
  return true;
}

bool IgnoreFiles::Check(const std::string& path, bool folder, IgnoreVerdict* verdict,
                        std::string* error) {
  *verdict = {};
  const std::string absolute = AbsolutePath(env_, path);
  const size_t end = absolute.find_last_of(separators_);
  return end == std::string::npos || Decide(absolute, end + 1, folder, verdict, error);
}

bool IgnoreFiles::Decide(const std::string& absolute, size_t parent_end, bool folder,
                         IgnoreVerdict* verdict, std::string* error) {
  // A path below an ignored folder is ignored, whatever a later pattern
  // says: the folder is decided first, from the root down, each once.
  const std::string parent = absolute.substr(0, parent_end);
  const size_t grandparent =
      parent.size() < 2 ? std::string::npos : parent.find_last_of(separators_, parent.size() - 2);
  if (grandparent != std::string::npos) {
    auto known = folders_.find(parent);
    if (known == folders_.end()) {
      IgnoreVerdict above;
      if (!Decide(parent.substr(0, parent.size() - 1), grandparent + 1, true, &above, error)) {
        return false;
      }
      known = folders_.emplace(parent, above).first;
    }
    if (known->second.ignored) {
      *verdict = known->second;
      return true;
    }
  }
  // Then the deepest .vornetteignore with a matching pattern decides.
  *verdict = {};
  for (size_t end = parent_end;;) {
    const std::string folder_path = absolute.substr(0, end);
    const IgnorePatterns* patterns = nullptr;
    if (!PatternsIn(folder_path, &patterns, error)) return false;
    if (patterns != nullptr) {
      std::string relative = absolute.substr(end);
      // Patterns name folders with "/" alone; a POSIX name may hold a "\".
      if (separators_.find('\\') != std::string::npos) {
        std::replace(relative.begin(), relative.end(), '\\', '/');
      }
      if (const auto match = patterns->LastMatch(relative, folder)) {
        *verdict = {!match->negative, folder_path + std::string(kIgnoreName), match->line,
                    match->pattern};
        return true;
      }
    }
    const size_t above = end < 2 ? std::string::npos : absolute.find_last_of(separators_, end - 2);
    if (above == std::string::npos) return true;
    end = above + 1;
  }
}

}  // namespace vornette
