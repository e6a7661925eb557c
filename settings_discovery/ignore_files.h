// Whether the .vornetteignore files above a file leave it out: those in its
// folder and in every folder above it, up to the root of the file system,
// as git reads the .gitignore files of a repository.
#ifndef VORNETTE_SETTINGS_DISCOVERY_IGNORE_FILES_H_
#define VORNETTE_SETTINGS_DISCOVERY_IGNORE_FILES_H_

#include <map>
#include <memory>
#include <string>

#include "platform/env.h"
#include "settings_discovery/ignore_matcher.h"

namespace vornette {

// What the .vornetteignore files say about a path.
struct IgnoreVerdict {
  bool ignored = false;
  // The pattern that decided (a "!" pattern re-includes), when one did: the
  // .vornetteignore's path, the line from 1 and the pattern as written.
  std::string file;
  size_t line = 0;
  std::string pattern;
};

class IgnoreFiles {
 public:
  explicit IgnoreFiles(Env& env);

  // Decides for the file at `path` (with `folder`, the folder), made
  // absolute from the current folder without resolving links: ignored when
  // a folder above it is, else as the last matching pattern of the deepest
  // .vornetteignore that has one says. False, with the reason in `error`,
  // when a .vornetteignore that counts cannot be read.
  bool Check(const std::string& path, bool folder, IgnoreVerdict* verdict, std::string* error);

 private:
  // The patterns of the .vornetteignore in `folder` (which ends with a
  // separator), read once; null when there is none.
  bool PatternsIn(const std::string& folder, const IgnorePatterns** patterns, std::string* error);

  // Decides for `absolute`, whose parent folder ends at `parent_end`, with
  // the .vornetteignore files of the folders above it.
  bool Decide(const std::string& absolute, size_t parent_end, bool folder, IgnoreVerdict* verdict,
              std::string* error);

  Env& env_;
  const std::string separators_;                                  // between folders
  std::map<std::string, std::unique_ptr<IgnorePatterns>> files_;  // by folder; null: none
  std::map<std::string, IgnoreVerdict> folders_;                  // by folder
};

}  // namespace vornette

#endif  // VORNETTE_SETTINGS_DISCOVERY_IGNORE_FILES_H_
