#include "settings_discovery/ignore_matcher.h"

#include <algorithm>

#include "basic/basic.h"

namespace vornette {
namespace {

bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Whether the named class of git's wildmatch takes the byte `t`, which is
// already in lower case; false for a name it does not know.
bool NamedClassTakes(std::string_view name, unsigned char t, bool* known) {
  const bool alpha = IsUpper(t) || IsLower(t);
  const bool punct = t > 0x20 && t < 0x7F && !alpha && !IsDigit(t);
  const struct {
    std::string_view name;
    bool takes;
  } classes[] = {{"alnum", alpha || IsDigit(t)},
                 {"alpha", alpha},
                 {"blank", t == ' ' || t == '\t'},
                 {"cntrl", t < 0x20 || t == 0x7F},
                 {"digit", IsDigit(t)},
                 {"graph", t > 0x20 && t < 0x7F},
                 {"lower", IsLower(t)},
                 {"print", t >= 0x20 && t < 0x7F},
                 {"punct", punct},
                 {"space", t == ' ' || (t >= '\t' && t <= '\r')},
                 {"upper", IsUpper(t) || IsLower(t)},  // letter case folded, as git does
                 {"xdigit", IsDigit(t) || (ToLowerAscii(static_cast<char>(t)) >= 'a' &&
                                           ToLowerAscii(static_cast<char>(t)) <= 'f')}};
  for (const auto& entry : classes) {
    if (entry.name == name) {
      *known = true;
      return entry.takes;
    }
  }
  *known = false;
  return false;
}

// Reads the class that begins after the "[" at `start` of `p` as git's
// wildmatch does, for the text byte `t` (in lower case); `*end` is set to
// the position of its closing "]". False in `*valid` for a class that is
// never closed or names an unknown class.
bool ClassTakes(std::string_view p, size_t start, unsigned char t, size_t* end, bool* valid) {
  *valid = false;
  size_t at = start;
  const auto byte = [&](size_t i) -> unsigned char {
    return i < p.size() ? static_cast<unsigned char>(p[i]) : 0;
  };
  unsigned char c = byte(at);
  if (c == '^') c = '!';
  const bool negated = c == '!';
  if (negated) c = byte(++at);
  unsigned char previous = 0;
  bool matched = false;
  do {
    if (c == 0) return false;
    if (c == '\\') {
      c = byte(++at);
      if (c == 0) return false;
      if (t == c) matched = true;
    } else if (c == '-' && previous != 0 && byte(at + 1) != 0 && byte(at + 1) != ']') {
      c = byte(++at);
      if (c == '\\') {
        c = byte(++at);
        if (c == 0) return false;
      }
      const unsigned char upper = static_cast<unsigned char>(ToUpperAscii(static_cast<char>(t)));
      if ((t <= c && t >= previous) || (IsLower(t) && upper <= c && upper >= previous)) {
        matched = true;
      }
      c = 0;  // a range is no start of another
    } else if (c == '[' && byte(at + 1) == ':') {
      const size_t name = at + 2;
      size_t close = name;
      while (byte(close) != 0 && byte(close) != ']') ++close;
      if (byte(close) == 0) return false;
      if (close == name || byte(close - 1) != ':') {
        // No ":]": a plain "[" in the set.
        if (t == '[') matched = true;
      } else {
        bool known = false;
        if (NamedClassTakes(p.substr(name, close - 1 - name), t, &known)) matched = true;
        if (!known) return false;
        at = close;
        c = 0;
      }
    } else if (t == c) {
      matched = true;
    }
    previous = c;
    c = byte(++at);
  } while (c != ']');
  *end = at;
  *valid = true;
  return matched != negated && t != '/';
}

}  // namespace

Glob::Glob(std::string_view p) {
  enum class Kind { kByte, kStar, kAnything, kFolders };
  struct Token {
    Kind kind;
    std::vector<bool> takes;  // for kByte, by text byte
  };
  std::vector<Token> tokens;
  const auto literal = [&](unsigned char c) {
    Token token{Kind::kByte, std::vector<bool>(256)};
    for (int b = 0; b < 256; ++b) {
      token.takes[b] = static_cast<unsigned char>(ToLowerAscii(static_cast<char>(b))) == c;
    }
    tokens.push_back(std::move(token));
  };
  for (size_t at = 0; at < p.size() && !never_;) {
    const unsigned char c = static_cast<unsigned char>(p[at]);
    if (c == '\\') {
      // Escaped, the byte is compared as written: a capital matches nothing.
      if (at + 1 == p.size()) never_ = true;
      if (!never_) literal(static_cast<unsigned char>(p[at + 1]));
      at += 2;
    } else if (c == '?') {
      Token token{Kind::kByte, std::vector<bool>(256, true)};
      token.takes['/'] = false;
      tokens.push_back(std::move(token));
      ++at;
    } else if (c == '*') {
      size_t end = at + 1;
      while (end < p.size() && p[end] == '*') ++end;
      const bool several = end - at > 1;
      const bool after_folder = at == 0 || p[at - 1] == '/';
      if (several && after_folder && end == p.size()) {
        tokens.push_back({Kind::kAnything, {}});
      } else if (several && after_folder && p[end] == '/') {
        tokens.push_back({Kind::kFolders, {}});  // no folders, or anything that ends with "/"
        ++end;
      } else if (several && after_folder && p.substr(end, 2) == "\\/") {
        tokens.push_back({Kind::kAnything, {}});
      } else {
        tokens.push_back({Kind::kStar, {}});
      }
      at = end;
    } else if (c == '[') {
      Token token{Kind::kByte, std::vector<bool>(256)};
      size_t end = at;
      bool valid = true;
      for (int b = 0; b < 256 && valid; ++b) {
        const unsigned char t = static_cast<unsigned char>(ToLowerAscii(static_cast<char>(b)));
        token.takes[b] = ClassTakes(p, at + 1, t, &end, &valid) && b != '/';
      }
      never_ = !valid;
      tokens.push_back(std::move(token));
      at = end + 1;
    } else {
      literal(static_cast<unsigned char>(ToLowerAscii(static_cast<char>(c))));
      ++at;
    }
  }
  for (const Token& token : tokens) positions_ += token.kind == Kind::kFolders ? 2 : 1;
  words_ = (positions_ + 1 + 63) / 64;
  takes_.assign(256 * words_, 0);
  for (States* states :
       {&loop_on_slash_, &loop_on_other_, &folders_start_, &folders_inside_, &skippable_}) {
    states->assign(words_, 0);
  }
  const auto set = [](std::vector<uint64_t>& states, size_t i) {
    states[i / 64] |= uint64_t{1} << (i % 64);
  };
  size_t i = 0;
  for (const Token& token : tokens) {
    switch (token.kind) {
      case Kind::kByte:
        for (int b = 0; b < 256; ++b) {
          if (token.takes[b]) takes_[b * words_ + i / 64] |= uint64_t{1} << (i % 64);
        }
        break;
      case Kind::kStar:
        set(loop_on_other_, i);
        set(skippable_, i);
        break;
      case Kind::kAnything:
        set(loop_on_slash_, i);
        set(loop_on_other_, i);
        set(skippable_, i);
        break;
      case Kind::kFolders:
        // Its start takes any byte into its inside, or a "/" past it; its
        // inside takes any byte, and leaves on a "/".
        for (int b = 0; b < 256; ++b) takes_[b * words_ + i / 64] |= uint64_t{1} << (i % 64);
        set(folders_start_, i);
        set(folders_inside_, ++i);
        set(loop_on_slash_, i);
        set(loop_on_other_, i);
        break;
    }
    ++i;
  }
}

void Glob::Close(States& states) const {
  for (bool grown = true; grown;) {
    // Within each run of "*" and "**", the lowest state set reaches every
    // state after it up to the run's end: adding the set states to the run
    // carries from the lowest one out past the run's last token.
    uint64_t carry = 0;
    for (size_t w = 0; w < words_; ++w) {
      const uint64_t run = skippable_[w], sum = run + (states[w] & run), carried = sum + carry;
      carry = static_cast<uint64_t>(sum < run) | static_cast<uint64_t>(carried < sum);
      states[w] |= carried ^ run;
    }
    // A "**/" may match nothing: from its start past its inside, two bits
    // up; what that reaches may begin another run.
    grown = false;
    uint64_t moved_out = 0;
    for (size_t w = 0; w < words_; ++w) {
      const uint64_t starts = states[w] & folders_start_[w];
      const uint64_t past = (starts << 2) | moved_out;
      moved_out = starts >> 62;
      grown = grown || (past & ~states[w]) != 0;
      states[w] |= past;
    }
  }
}

bool Glob::Matches(std::string_view text) const {
  if (never_) return false;
  States states(words_, 0), next(words_);
  states[0] = 1;
  Close(states);
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool slash = byte == '/';
    const uint64_t* takes = &takes_[byte * words_];
    const States& loop = slash ? loop_on_slash_ : loop_on_other_;
    uint64_t carry = 0, carry_two = 0, any = 0;
    for (size_t w = 0; w < words_; ++w) {
      // A position passed moves its state one bit up, a "/" at the start of
      // a "**/" two: into the next word too.
      const uint64_t one = (states[w] & takes[w]) | (slash ? states[w] & folders_inside_[w] : 0);
      const uint64_t two = slash ? states[w] & folders_start_[w] : 0;
      next[w] = (one << 1) | carry | (two << 2) | carry_two | (states[w] & loop[w]);
      carry = one >> 63;
      carry_two = two >> 62;
      any |= next[w];
    }
    if (any == 0) return false;
    states.swap(next);
    Close(states);
  }
  return (states[positions_ / 64] >> (positions_ % 64)) & 1;
}

IgnorePatterns::IgnorePatterns(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  size_t line = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find('\n', start), text.size());
    const size_t next = end + 1;
    ++line;
    if (end > start && text[end - 1] == '\r') --end;
    std::string entry(text.substr(start, end - start));
    start = next;
    if (entry.empty() || entry[0] == '#') continue;
    // Blanks at the end go, but for an escaped one and those before it.
    size_t keep = entry.size();
    for (size_t i = 0; i < entry.size(); ++i) {
      if (entry[i] == '\\') {
        // An escaped byte ends a run of blanks; a "\\" at the end keeps them.
        keep = entry.size();
        if (++i == entry.size()) break;
      } else if (entry[i] != ' ') {
        keep = entry.size();
      } else if (keep == entry.size()) {
        keep = i;
      }
    }
    entry.resize(keep);
    std::string_view body = entry;
    const bool negative = body.starts_with('!');
    if (negative) body.remove_prefix(1);
    const bool folder_only = body.ends_with('/');
    if (folder_only) body.remove_suffix(1);
    const bool base_name = body.find('/') == std::string_view::npos;
    if (body.starts_with('/')) body.remove_prefix(1);
    patterns_.push_back({line, entry, negative, folder_only, base_name, Glob(body)});
  }
}

std::optional<IgnorePatterns::Match> IgnorePatterns::LastMatch(std::string_view relative,
                                                               bool folder) const {
  const std::string_view base = relative.substr(relative.rfind('/') + 1);
  for (auto pattern = patterns_.rbegin(); pattern != patterns_.rend(); ++pattern) {
    if (pattern->folder_only && !folder) continue;
    if (pattern->glob.Matches(pattern->base_name ? base : relative)) {
      return Match{pattern->line, pattern->text, pattern->negative};
    }
  }
  return std::nullopt;
}

}  // namespace vornette
