#include "tests/krl_lines.h"

#include <random>

#include "formatter/word_tables.h"
#include "reference/reference.h"
#include "tests/run_program.h"

namespace vornette::testing {

std::vector<std::string> GeneratedLines(size_t count, uint32_t seed) {
  static const char* const kPieces[] = {
      " ", "  ", "   ", "\t", ";", "\"", "'", "=", "==", ">=", "<=", "<>", "<", ">", "*", "/", ",",
      ":", "+", "-", "(", ")", "[", "]", "{", "}", ".", "_", "#", "$", "?", "|", "~", "!", "&", "@",
      "\\", "0", "1", "42", "x", "abc", "\x0C", "\x01", "\x1F", "\x7F", "\x80", "\xA0", "\xE9",
      "\xFF", "\xF0", "\xF2", "\xF3", "\xF7", "OR", "or", "AND", "aNd", ")OR(", ") or(", ")And (",
      "$in_home", "#path", "endif;", ";fold", ";ENDFOLD", "P1.X",
      // The words of the extended block rules, and a byte-order mark.
      "GLOBAL DEF", "global\tDeffct", "Global DEFDAT", "GLOBAL END", "Spline", "PTP_SPLINE",
      "ENDSPLINE", "skip", "EndSkip", "TIME_BLOCK START", "time_block  Part", "TIME_BLOCK END",
      "TIME_BLOCK(START", "CONST_VEL START", "Const_Vel end", "CONST_VEL PART", "\xEF\xBB\xBF"};
  // The keywords of every table, recased at random below.
  std::vector<std::string> words;
  for (size_t c = 0; c < 8; ++c) {
    for (std::string_view word : WordTableOf(static_cast<KeywordCategory>(c))) {
      words.emplace_back(word);
    }
  }
  std::mt19937 random(seed);
  std::vector<std::string> lines;
  lines.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::string line;
    const size_t pieces = random() % 24;
    for (size_t p = 0; p < pieces; ++p) {
      if (random() % 3 == 0) {
        std::string word = words[random() % words.size()];
        for (char& c : word) {
          const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
          if (letter && random() % 2) c = static_cast<char>(c ^ 0x20);
        }
        line += word;
      } else {
        line += kPieces[random() % std::size(kPieces)];
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

const std::vector<std::string>& CorpusLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> all;
    for (const std::string& file : FilesBelow(CorpusDir())) {
      if (file.ends_with(".md")) continue;
      const std::string bytes = ReadBytes(file);
      if (bytes.find('\0') != std::string::npos) continue;  // no text
      for (std::string& line : reference::CutLines(bytes)) all.push_back(std::move(line));
    }
    return all;
  }();
  return lines;
}

}  // namespace vornette::testing
