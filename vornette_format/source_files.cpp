#include "vornette_format/source_files.h"

#include <algorithm>
#include <string_view>

#include "basic/basic.h"

namespace vornette {
namespace {

bool IsSourceName(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view extension = name.substr(name.size() - 4);
  return SameTextNoCase(extension, ".src") || SameTextNoCase(extension, ".dat") ||
         SameTextNoCase(extension, ".sub");
}

}  // namespace

bool SourceFilesBelow(Env& env, const std::string& folder,
                      const std::function<bool(const std::string&, bool)>& keep,
                      std::vector<std::string>* files) {
  std::vector<Env::FolderEntry> entries;
  if (!env.ListFolder(folder, &entries)) return false;
  std::sort(entries.begin(), entries.end(),
            [](const Env::FolderEntry& a, const Env::FolderEntry& b) { return a.name < b.name; });
  // Names are joined as the folder was written: with "\\" where it has one,
  // else with "/", which every system takes; but without "." segments, which
  // git apply refuses in a diff (a walk of "." names "a.src", not "./a.src").
  const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
  std::string prefix;
  for (size_t start = 0; start < folder.size();) {
    size_t end = folder.find(separator, start);
    if (end == std::string::npos) end = folder.size();
    if (folder.compare(start, end - start, ".") != 0) {
      prefix.append(folder, start, end - start).push_back(separator);
    }
    start = end + 1;
  }
  bool ok = true;
  for (const auto& [name, kind] : entries) {
    if (kind == Env::PathKind::kFolder && !name.starts_with(".") && keep(prefix + name, true)) {
      ok = SourceFilesBelow(env, prefix + name, keep, files) && ok;
    } else if (kind == Env::PathKind::kFile && IsSourceName(name) && keep(prefix + name, false)) {
      files->push_back(prefix + name);
    }
  }
  return ok;
}

}  // namespace vornette
