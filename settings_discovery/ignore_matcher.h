// The patterns of one .vornetteignore, read and matched exactly as git reads
// and matches a .gitignore with core.ignorecase: what users know of
// .gitignore holds, and KRL files named .src and .SRC alike get the same
// answer on every system.
#ifndef VORNETTE_SETTINGS_DISCOVERY_IGNORE_MATCHER_H_
#define VORNETTE_SETTINGS_DISCOVERY_IGNORE_MATCHER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornette {

// A pattern compiled for matching in time linear in the text: the state of
// every position of the pattern at once, one bit each, advanced byte by
// byte, so that no text makes it backtrack.
class Glob {
 public:
  // Compiles `pattern` (git's wildmatch syntax: "*" and "?" and "[...]" stop
  // at "/", "**" between slashes crosses them, "\" escapes). Letters match
  // either case, but for escaped capitals and capitals listed in a class,
  // which, as in git, then match nothing.
  explicit Glob(std::string_view pattern);

  // True when the pattern matches the whole of `text`.
  bool Matches(std::string_view text) const;

 private:
  // The states, one bit each: bit i is "the first i positions are matched".
  // A token takes one position; "**/" takes two, its start and its inside.
  using States = std::vector<uint64_t>;
  // Adds to `states` every state reached without taking a byte: past a "*"
  // or a "**" that matches nothing, past a "**/" from its start.
  void Close(States& states) const;

  bool never_ = false;  // a class left open, or a "\" at the end
  size_t positions_ = 0;
  size_t words_ = 0;
  std::vector<uint64_t> takes_;  // for each byte value: the positions that take it and move on
  States loop_on_slash_, loop_on_other_;   // the positions that stay on such a byte
  States folders_start_, folders_inside_;  // "**/": where a "/" leaves it
  States skippable_;                       // "*" and "**"
};

// The lines of one .vornetteignore.
class IgnorePatterns {
 public:
  // Reads `text` as git reads a .gitignore: lines end at LF (a CR before it
  // goes), a UTF-8 byte-order mark is skipped, blank and "#" lines hold no
  // pattern, unescaped trailing blanks go.
  explicit IgnorePatterns(std::string_view text);

  // The pattern that decides.
  struct Match {
    size_t line;          // from 1
    std::string pattern;  // as written
    bool negative;        // begins with "!": re-includes
  };

  // The last pattern that matches `relative`, a path from the folder of the
  // .vornetteignore with "/" between its parts, of a folder when `folder`;
  // nothing when none does.
  std::optional<Match> LastMatch(std::string_view relative, bool folder) const;

 private:
  struct Pattern {
    size_t line;
    std::string text;
    bool negative;
    bool folder_only;  // ends with "/"
    bool base_name;    // holds no other "/": matches the last part at any depth
    Glob glob;
  };
  std::vector<Pattern> patterns_;
};

}  // namespace vornette

#endif  // VORNETTE_SETTINGS_DISCOVERY_IGNORE_MATCHER_H_
