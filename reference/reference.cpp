#include "reference/reference.h"

#include <algorithm>

#include "basic/basic.h"
#include "formatter/word_tables.h"

namespace vornette::reference {

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = ToUpperAscii(c);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = ToLowerAscii(c);
  return result;
}

bool IsInList(std::string_view text, std::span<const std::string_view> table) {
  for (std::string_view entry : table) {
    if (SameTextNoCase(text, entry)) return true;
  }
  return false;
}

std::string MakeIndent(int64_t count) {
  return count <= 0 ? std::string() : std::string(static_cast<size_t>(count), ' ');
}

bool IsInComment(int64_t position, std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon != std::string_view::npos && static_cast<int64_t>(semicolon) + 1 < position;
}

bool HasOddCount(int64_t position, std::string_view line, std::string_view quote_char) {
  if (position < 1 || position > static_cast<int64_t>(line.size())) return false;
  bool odd = false;
  for (int64_t i = 0; i < position; ++i) {
    if (SameTextNoCase(line.substr(static_cast<size_t>(i), 1), quote_char)) odd = !odd;
  }
  return odd;
}

bool IsInStringLiteral(int64_t position, std::string_view line) {
  for (std::string_view quote : QuoteChars) {
    if (HasOddCount(position, line, quote)) return true;
  }
  return false;
}

namespace {

bool IsSeparatorByTable(char c) { return IsInList(std::string_view(&c, 1), SeparatorChars); }

}  // namespace

bool IsWholeWord(int64_t position, int64_t match_length, std::string_view line) {
  const bool before = position <= 1 || IsSeparatorByTable(line[static_cast<size_t>(position - 2)]);
  const int64_t behind = position + match_length;
  const bool after = behind > static_cast<int64_t>(line.size()) ||
                     IsSeparatorByTable(line[static_cast<size_t>(behind - 1)]);
  return before && after;
}

std::string GuardedReplace(std::string_view line, std::string_view old_pattern,
                           std::string_view new_pattern, uint8_t flags, bool whole_word) {
  std::string search_text(line);
  std::string search_pattern(old_pattern);
  if (flags & IgnoreCase) {
    search_text = UpperCase(line);
    search_pattern = UpperCase(old_pattern);
  }
  std::string tail(line);
  std::string result;
  while (!search_text.empty()) {
    const size_t found =
        search_pattern.empty() ? std::string::npos : search_text.find(search_pattern);
    if (found == std::string::npos) return result + tail;
    const int64_t p = static_cast<int64_t>(found) + 1;
    const int64_t a =
        static_cast<int64_t>(line.size()) - static_cast<int64_t>(search_text.size()) + p;
    bool replace;
    if (IsInComment(a, line)) {
      replace = false;
    } else if (IsInStringLiteral(a, line)) {
      replace = false;
    } else if (whole_word && !IsWholeWord(a, static_cast<int64_t>(old_pattern.size()), line)) {
      replace = false;
    } else {
      replace = true;
    }
    result += tail.substr(0, found);
    result += replace ? std::string(new_pattern) : tail.substr(found, old_pattern.size());
    const size_t cut = found + old_pattern.size();
    tail = tail.substr(std::min(cut, tail.size()));
    search_text = search_text.substr(std::min(cut, search_text.size()));
    if (!(flags & ReplaceAll)) return result + tail;
  }
  return result;
}

std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode) {
  std::string current(line);
  for (std::string_view word : table) {
    std::string new_form;
    if (mode == CapitalizationMode::UpperCase) {
      new_form = UpperCase(word);
    } else if (mode == CapitalizationMode::LowerCase) {
      new_form = LowerCase(word);
    } else {
      continue;
    }
    current = GuardedReplace(current, word, new_form, ReplaceAll | IgnoreCase, true);
  }
  return current;
}

std::string SpaceOperators(std::string_view line) {
  struct Row {
    std::string_view pattern;
    std::string_view replacement;
    uint8_t flags;
  };
  static const Row kRows[] = {
      {">=", "\xF2", ReplaceAll},
      {"<=", "\xF3", ReplaceAll},
      {"<>", "\xF7", ReplaceAll},
      {"==", "\xF0", ReplaceAll},
      {"=", " = ", ReplaceAll},
      {"*", " * ", ReplaceAll},
      {"/", " / ", ReplaceAll},
      {">", " > ", ReplaceAll},
      {"<", " < ", ReplaceAll},
      {",", ", ", ReplaceAll},
      {";", " ;", ReplaceAll},
      {"\xF2", " >= ", ReplaceAll},
      {"\xF3", " <= ", ReplaceAll},
      {"\xF7", " <> ", ReplaceAll},
      {"\xF0", " == ", ReplaceAll},
      {")OR(", ") OR (", ReplaceAll | IgnoreCase},
      {") OR(", ") OR (", ReplaceAll | IgnoreCase},
      {")OR (", ") OR (", ReplaceAll | IgnoreCase},
      {")AND(", ") AND (", ReplaceAll | IgnoreCase},
      {") AND(", ") AND (", ReplaceAll | IgnoreCase},
      {")AND (", ") AND (", ReplaceAll | IgnoreCase},
  };
  std::string current(line);
  for (const Row& row : kRows) {
    current = GuardedReplace(current, row.pattern, row.replacement, row.flags, false);
  }
  while (current.find("  ") != std::string::npos) {
    const std::string remembered = current;
    current = GuardedReplace(current, "  ", " ", ReplaceAll, false);
    if (current == remembered) break;
  }
  return current;
}

std::string_view FirstWord(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && !IsSeparatorByTable(line[end])) ++end;
  return line.substr(0, end);
}

std::string_view TrimLeft(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && static_cast<unsigned char>(line[start]) <= 0x20) ++start;
  return line.substr(start);
}

std::string_view SecondWord(std::string_view trimmed) {
  size_t i = FirstWord(trimmed).size();
  while (i < trimmed.size() && (trimmed[i] == ' ' || trimmed[i] == '\t')) ++i;
  return FirstWord(trimmed.substr(i));
}

namespace {

bool Is(std::string_view word, std::initializer_list<std::string_view> words) {
  return IsInList(word, std::span<const std::string_view>(words.begin(), words.size()));
}

}  // namespace

std::string IndentLine(std::string_view line, IndentState& state, const FormatterSettings& settings,
                       bool column_one) {
  const std::string_view trimmed = TrimLeft(line);
  std::string_view word = FirstWord(trimmed);
  bool close_block = IsInList(word, BlockCloseWords);
  bool open_block = IsInList(word, BlockOpenWords);
  const bool close_case = IsInList(word, CaseCloseWords);
  const bool open_case = IsInList(word, CaseOpenWords);
  if (settings.ExtendedBlocks) {
    const std::string_view second = SecondWord(trimmed);
    if (Is(word, {"GLOBAL"}) && Is(second, {"DEF", "DEFFCT", "DEFDAT"})) {
      word = second;
      open_block = true;
    }
    open_block = open_block || Is(word, {"SPLINE", "PTP_SPLINE", "SKIP"});
    close_block = close_block || Is(word, {"ENDSPLINE", "ENDSKIP"});
    if (Is(word, {"TIME_BLOCK", "CONST_VEL"})) {
      open_block = Is(second, {"START"}) || (Is(word, {"TIME_BLOCK"}) && Is(second, {"PART"}));
      close_block = Is(second, {"END"}) || (Is(word, {"TIME_BLOCK"}) && Is(second, {"PART"}));
    }
  }
  if (!settings.IndentRoutineBodies &&
      Is(word, {"DEF", "DEFFCT", "DEFDAT", "END", "ENDFCT", "ENDDAT"})) {
    open_block = close_block = false;
  }
  if (!settings.IndentFolds && Is(word, {";FOLD", ";ENDFOLD"})) open_block = close_block = false;
  if (close_block) --state.IndentLevel;
  if (close_case) --state.CaseLevel;
  if (state.CaseLevel < 0) state.CaseLevel = 0;
  std::string result = std::string(trimmed);
  if (!column_one) {
    result = MakeIndent(int64_t{settings.IndentWidth} * state.IndentLevel) +
             MakeIndent(int64_t{settings.IndentWidth} * state.CaseLevel) + result;
  }
  if (open_block) ++state.IndentLevel;
  if (open_case) ++state.CaseLevel;
  return result;
}

std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state) {
  std::string current(line);
  if (settings.SpacingOperators) current = SpaceOperators(current);
  for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
    current = ApplyCapitalization(current, WordTableOf(static_cast<KeywordCategory>(c)),
                                  settings.Capitalization[c]);
  }
  const bool column_one = settings.KeepColumnOneComments && line.starts_with(';');
  current = reference::IndentLine(current, state, settings, column_one);
  return settings.TrimTrailingBlanks ? TrimTrailingBlanks(current) : current;
}

std::string TrimTrailingBlanks(std::string_view line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  const int64_t first = static_cast<int64_t>(end) + 1;
  if (end < line.size() && !IsInComment(first, line) && IsInStringLiteral(first, line)) {
    return std::string(line);
  }
  return std::string(line.substr(0, end));
}

namespace {

// An assignment line taken apart; `target` is empty for any other line.
struct AssignmentLine {
  size_t leading = 0;
  std::string target;
  std::string rest;  // from the "=" on
};

bool NameStart(char c) {
  const char folded = static_cast<char>(c | 0x20);
  return (folded >= 'a' && folded <= 'z') || c == '_' || c == '$';
}
bool NamePart(char c) { return NameStart(c) || (c >= '0' && c <= '9'); }

AssignmentLine TakeApart(const std::string& line) {
  AssignmentLine parts;
  parts.leading = line.find_first_not_of(' ');
  if (parts.leading == std::string::npos) parts.leading = line.size();
  const std::string code = line.substr(parts.leading);
  size_t i = 0;
  auto name = [&] {
    if (i >= code.size() || !NameStart(code[i])) return false;
    while (i < code.size() && NamePart(code[i])) ++i;
    return true;
  };
  if (!name()) return parts;
  for (;;) {
    const size_t before = i;
    if (i < code.size() && code[i] == '.') {
      ++i;
      if (name()) continue;
    } else if (i < code.size() && code[i] == '[') {
      const size_t close = code.find(']', i);
      if (close != std::string::npos &&
          code.substr(i + 1, close - i - 1).find_first_of("[;\"'=") == std::string::npos) {
        i = close + 1;
        continue;
      }
    }
    i = before;
    break;
  }
  const size_t equals = code.find_first_not_of(" \t", i);
  if (equals == std::string::npos || code[equals] != '=' || code.compare(equals, 2, "==") == 0) {
    return parts;
  }
  parts.target = code.substr(0, i);
  parts.rest = code.substr(equals);
  return parts;
}

}  // namespace

std::vector<std::string> AlignAssignments(std::vector<std::string> lines,
                                          const std::vector<bool>& kept) {
  std::vector<AssignmentLine> parts;
  for (size_t i = 0; i < lines.size(); ++i) {
    parts.push_back(i < kept.size() && kept[i] ? AssignmentLine{} : TakeApart(lines[i]));
  }
  for (size_t start = 0; start < lines.size();) {
    size_t end = start;
    size_t longest = 0;
    while (end < lines.size() && !parts[end].target.empty() &&
           parts[end].leading == parts[start].leading) {
      longest = std::max(longest, parts[end].target.size());
      ++end;
    }
    if (end - start >= 2) {
      for (size_t i = start; i < end; ++i) {
        lines[i] = std::string(parts[i].leading, ' ') + parts[i].target +
                   std::string(longest + 1 - parts[i].target.size(), ' ') + parts[i].rest;
      }
    }
    start = std::max(end, start + 1);
  }
  return lines;
}

int MarkerKind(std::string_view line) {
  const std::string upper = UpperCase(line);
  size_t at = upper.find_first_not_of(" \t");
  if (at == std::string::npos || upper[at] != ';') return 0;
  at = upper.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || upper.compare(at, 9, "VORNETTE:") != 0) return 0;
  at = upper.find_first_not_of(" \t", at + 9);
  size_t end = at;
  while (end < upper.size() && ((upper[end] >= 'A' && upper[end] <= 'Z') ||
                                (upper[end] >= '0' && upper[end] <= '9') || upper[end] == '_')) {
    ++end;
  }
  const std::string word = at == std::string::npos ? "" : upper.substr(at, end - at);
  return word == "OFF" ? 1 : word == "ON" ? 2 : 0;
}

std::vector<std::string> FormatFile(const std::vector<std::string>& lines,
                                    const FormatterSettings& settings, IndentState* final_state) {
  std::vector<std::string> result;
  std::vector<bool> kept;
  IndentState state;
  const bool bom =
      !lines.empty() && settings.ExtendedBlocks && lines[0].starts_with("\xEF\xBB\xBF");
  bool off = false;
  for (const std::string& line : lines) {
    const bool first = result.empty();
    const int marker = MarkerKind(line);
    kept.push_back(off && marker != 2);
    result.push_back(
        FormatLine(std::string_view(line).substr(first && bom ? 3 : 0), settings, state));
    if (kept.back()) result.back() = line;
    off = off ? marker != 2 : marker == 1;
  }
  if (settings.AlignAssignments) result = AlignAssignments(std::move(result), kept);
  if (bom) result[0].insert(0, "\xEF\xBB\xBF");
  if (final_state != nullptr) *final_state = state;
  return result;
}

std::string WriteLines(const std::vector<std::string>& lines, std::string_view original,
                       LineEndingMode ending) {
  std::string end = ending == LineEndingMode::LF ? "\n" : "\r\n";
  bool end_last_line = true;
  if (ending == LineEndingMode::Auto) {
    const size_t first = original.find_first_of("\r\n");
    if (first != std::string_view::npos && original[first] == '\n') end = "\n";
    end_last_line = original.ends_with('\r') || original.ends_with('\n');
  }
  std::string text;
  for (const std::string& line : lines) text += line + end;
  if (!end_last_line && !lines.empty()) text.resize(text.size() - end.size());
  return text;
}

std::vector<std::string> CutLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      line.push_back(bytes[i]);
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string TextOf(const LineList& list) {
  std::string text;
  for (std::string_view piece : list.WritingFormat()) text.append(piece);
  return text;
}

std::vector<std::string> LinesOf(const LineList& list) { return CutLines(TextOf(list)); }

LineList ListOf(std::string_view bytes, LineEndingMode ending) {
  ByteBuffer buffer;
  buffer.Append(bytes);
  LineList list;
  CutIntoLines(std::move(buffer), &list, ending);
  return list;
}

}  // namespace vornette::reference
