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
  return reference::IndentLine(current, state, settings, column_one);
}

std::vector<std::string> FormatFile(const std::vector<std::string>& lines,
                                    const FormatterSettings& settings, IndentState* final_state) {
  std::vector<std::string> result;
  IndentState state;
  for (const std::string& line : lines) {
    const bool bom = result.empty() && settings.ExtendedBlocks && line.starts_with("\xEF\xBB\xBF");
    result.push_back(bom ? "\xEF\xBB\xBF" +
                               FormatLine(std::string_view(line).substr(3), settings, state)
                         : FormatLine(line, settings, state));
  }
  if (final_state != nullptr) *final_state = state;
  return result;
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

std::vector<std::string> LinesOf(const LineList& list) {
  std::string text;
  for (std::string_view piece : list.WritingFormat()) text.append(piece);
  return CutLines(text);
}

LineList ListOf(std::string_view bytes) {
  ByteBuffer buffer;
  buffer.Append(bytes);
  LineList list;
  CutIntoLines(std::move(buffer), &list);
  return list;
}

}  // namespace vornette::reference
