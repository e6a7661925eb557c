#include "tests/literal_engine.h"

#include "basic/basic.h"
#include "formatter/guarded_replace.h"
#include "formatter/word_tables.h"

namespace vornette::literal {

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
    if (found == std::string::npos) {
      result += tail;
      return result;
    }
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
    if (!(flags & ReplaceAll)) {
      result += tail;
      return result;
    }
  }
  return result;
}

std::string ApplyCapitalization(std::string_view line, std::span<const std::string_view> table,
                                CapitalizationMode mode) {
  std::string current(line);
  if (mode == CapitalizationMode::None) return current;
  for (std::string_view word : table) {
    std::string new_form;
    if (mode == CapitalizationMode::UpperCase) {
      new_form = UpperCase(word);
    } else if (mode == CapitalizationMode::LowerCase) {
      new_form = LowerCase(word);
    } else {
      continue;
    }
    current = literal::GuardedReplace(current, word, new_form, ReplaceAll | IgnoreCase, true);
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
    current = literal::GuardedReplace(current, row.pattern, row.replacement, row.flags, false);
  }
  while (current.find("  ") != std::string::npos) {
    const std::string remembered = current;
    current = literal::GuardedReplace(current, "  ", " ", ReplaceAll, false);
    if (current == remembered) break;
  }
  return current;
}

std::string FormatLine(std::string_view line, const FormatterSettings& settings,
                       IndentState& state) {
  std::string current(line);
  if (settings.SpacingOperators) current = SpaceOperators(current);
  for (size_t c = 0; c < kKeywordCategoryCount; ++c) {
    current = ApplyCapitalization(current, WordTableOf(static_cast<KeywordCategory>(c)),
                                  settings.Capitalization[c]);
  }
  return IndentLine(current, state, settings.IndentWidth);
}

}  // namespace vornette::literal
