#include "formatter/block_check.h"

#include <array>
#include <string>

#include "basic/basic.h"
#include "basic/byte_scan.h"
#include "basic/packed_word.h"
#include "formatter/indent.h"
#include "formatter/spacing.h"

namespace vornette {
namespace {

enum class Role : uint8_t { kOpens, kCloses, kMiddle };

// A block word as KRL knows it. `pair` is, for an opening word, the word
// that closes it; for a middle word, the opening word it belongs directly
// in; a closing word names itself.
struct KrlWord {
  std::string_view first;
  std::string_view second;  // empty for the one-word forms
  Role role;
  uint8_t pair;
  bool fold = false;
  bool routine = false;
};

enum : uint8_t {
  kDef,
  kEnd,
  kDeffct,
  kEndfct,
  kDefdat,
  kEnddat,
  kIf,
  kEndif,
  kElse,
  kFor,
  kEndfor,
  kWhile,
  kEndwhile,
  kLoop,
  kEndloop,
  kRepeat,
  kUntil,
  kSwitch,
  kEndswitch,
  kCase,
  kDefault,
  kSpline,
  kPtpSpline,
  kEndspline,
  kSkip,
  kEndskip,
  kFold,
  kEndfold,
  kTimeBlockStart,
  kTimeBlockPart,
  kTimeBlockEnd,
  kConstVelStart,
  kConstVelEnd,
  kGlobalDef,
  kGlobalDeffct,
  kGlobalDefdat,
  kWordCount
};

// Up to kEndfold, the one-word forms; of those, the classic rules know all
// but the spline and SKIP words.
constexpr KrlWord kWords[kWordCount] = {
    {"DEF", "", Role::kOpens, kEnd, false, true},
    {"END", "", Role::kCloses, kEnd, false, true},
    {"DEFFCT", "", Role::kOpens, kEndfct, false, true},
    {"ENDFCT", "", Role::kCloses, kEndfct, false, true},
    {"DEFDAT", "", Role::kOpens, kEnddat, false, true},
    {"ENDDAT", "", Role::kCloses, kEnddat, false, true},
    {"IF", "", Role::kOpens, kEndif},
    {"ENDIF", "", Role::kCloses, kEndif},
    {"ELSE", "", Role::kMiddle, kIf},
    {"FOR", "", Role::kOpens, kEndfor},
    {"ENDFOR", "", Role::kCloses, kEndfor},
    {"WHILE", "", Role::kOpens, kEndwhile},
    {"ENDWHILE", "", Role::kCloses, kEndwhile},
    {"LOOP", "", Role::kOpens, kEndloop},
    {"ENDLOOP", "", Role::kCloses, kEndloop},
    {"REPEAT", "", Role::kOpens, kUntil},
    {"UNTIL", "", Role::kCloses, kUntil},
    {"SWITCH", "", Role::kOpens, kEndswitch},
    {"ENDSWITCH", "", Role::kCloses, kEndswitch},
    {"CASE", "", Role::kMiddle, kSwitch},
    {"DEFAULT", "", Role::kMiddle, kSwitch},
    {"SPLINE", "", Role::kOpens, kEndspline},
    {"PTP_SPLINE", "", Role::kOpens, kEndspline},
    {"ENDSPLINE", "", Role::kCloses, kEndspline},
    {"SKIP", "", Role::kOpens, kEndskip},
    {"ENDSKIP", "", Role::kCloses, kEndskip},
    {";FOLD", "", Role::kOpens, kEndfold, true},
    {";ENDFOLD", "", Role::kCloses, kEndfold, true},
    {"TIME_BLOCK", "START", Role::kOpens, kTimeBlockEnd},
    {"TIME_BLOCK", "PART", Role::kMiddle, kTimeBlockStart},
    {"TIME_BLOCK", "END", Role::kCloses, kTimeBlockEnd},
    {"CONST_VEL", "START", Role::kOpens, kConstVelEnd},
    {"CONST_VEL", "END", Role::kCloses, kConstVelEnd},
    {"GLOBAL", "DEF", Role::kOpens, kEnd, false, true},
    {"GLOBAL", "DEFFCT", Role::kOpens, kEndfct, false, true},
    {"GLOBAL", "DEFDAT", Role::kOpens, kEnddat, false, true},
};

bool IsClassic(uint8_t word) { return word <= kEndfold && (word < kSpline || word >= kFold); }

// A line's first word as KRL reads it: up to a separator or a ";", where a
// ";" as the first byte belongs to the word.
std::string_view KrlFirstWord(std::string_view text) {
  size_t end = !text.empty() && text[0] == ';' ? 1 : 0;
  while (end < text.size() && !IsSeparator(text[end]) && text[end] != ';') ++end;
  return text.substr(0, end);
}

// The block word KRL reads at the start of a line, and where it stands in
// the line.
struct Reading {
  uint8_t word = kWordCount;  // none
  size_t start = 0;
  size_t length = 0;
  std::string_view first, second;  // as written
};

// How the warnings write a block word: as in the file, one blank between
// the two words of a two-word form.
std::string Written(const Reading& reading) {
  std::string written(reading.first);
  if (!reading.second.empty()) written.append(" ").append(reading.second);
  return written;
}

// The first words of the table, packed, for a lookup of a few integer
// comparisons a line; and for every first byte, a bit for every length of
// such a word beginning with it, so that most lines need no lookup at all.
struct FirstWordTable {
  std::array<PackedWord, kWordCount> packed{};
  std::array<uint16_t, 256> lengths{};
};

const FirstWordTable& FirstWords() {
  static const FirstWordTable table = [] {
    FirstWordTable all;
    for (size_t i = 0; i < kWordCount; ++i) {
      const std::string_view first = kWords[i].first;
      all.packed[i] = PackUpper(first);
      for (char c : {ToUpperAscii(first[0]), ToLowerAscii(first[0])}) {
        all.lengths[static_cast<unsigned char>(c)] |= uint16_t{1} << first.size();
      }
    }
    return all;
  }();
  return table;
}

Reading ReadKrlBlockWord(std::string_view line, size_t mark) {
  Reading reading;
  const std::string_view trimmed = TrimLeft(line.substr(mark));
  const std::string_view first = KrlFirstWord(trimmed);
  const FirstWordTable& table = FirstWords();
  if (first.empty() || first.size() > 10 ||
      !((table.lengths[static_cast<unsigned char>(first[0])] >> first.size()) & 1)) {
    return reading;
  }
  const PackedWord packed = PackUpper(first);
  for (uint8_t i = 0; i < kWordCount; ++i) {
    if (!(table.packed[i] == packed)) continue;
    const KrlWord& word = kWords[i];
    if (!word.second.empty()) {
      const std::string_view after = SkipBlanksAndTabs(trimmed.substr(first.size()));
      const std::string_view second = KrlFirstWord(after);
      if (!SameTextNoCase(second, word.second)) continue;
      reading.second = second;
      reading.length = static_cast<size_t>(second.data() - first.data()) + second.size();
    } else {
      reading.length = first.size();
    }
    reading.word = i;
    reading.first = first;
    reading.start = static_cast<size_t>(first.data() - line.data());
    return reading;
  }
  return reading;
}

// What the indentation reads in a line: the first word and the effects, by
// the classic or the extended rules, after operator spacing when it is on.
struct IndentationReading {
  std::string_view first;
  uint8_t effects;
};

// What the indentation, by the extended rules, reads in each block word
// written alone: what it must read in a line for the word to count.
const std::array<uint8_t, kWordCount>& ExpectedEffects() {
  static const std::array<uint8_t, kWordCount> expected = [] {
    std::array<uint8_t, kWordCount> all{};
    for (size_t i = 0; i < kWordCount; ++i) {
      const KrlWord& word = kWords[i];
      const std::string name =
          std::string(word.first) + (word.second.empty() ? "" : " ") + std::string(word.second);
      all[i] = BlockEffects(name, true);
    }
    return all;
  }();
  return expected;
}

class BlockChecker {
 public:
  BlockChecker(std::string_view text, const FormatterSettings& settings)
      : text_(text), settings_(settings), expected_(ExpectedEffects()) {}

  std::vector<BlockWarning> Run() {
    size_t number = 0;
    for (size_t start = 0; start < text_.size();) {
      const size_t end = LineEndFrom(text_, start);
      Line(text_.substr(start, end - start), start, ++number);
      if (end == text_.size()) break;
      start = NextLineStart(text_, end);
    }
    for (auto& stack : stacks_) {
      for (const Open& open : stack) Fill(open, BlockWarningKind::kNeverClosed, " is never closed");
    }
    std::erase_if(warnings_, [](const BlockWarning& w) { return w.text.empty(); });
    return std::move(warnings_);
  }

 private:
  struct Open {
    uint8_t word;
    size_t slot;      // its warning, kept only if it gets a text
    Reading reading;  // for its warning's text
  };

  void Line(std::string_view line, size_t offset, size_t number) {
    const size_t mark = number == 1 && line.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    const Reading reading = ReadKrlBlockWord(line, mark);
    if (reading.word == kWordCount) return;
    const KrlWord& word = kWords[reading.word];
    const TextSpan at{number, reading.start + 1, offset + reading.start, reading.length};
    if (!indentation_warned_) CheckIndentation(line, mark, reading, at);
    std::vector<Open>& stack = stacks_[word.fold ? 1 : 0];
    if (word.role == Role::kOpens) {
      ++open_[word.pair];
      stack.push_back({reading.word, warnings_.size(), reading});
      warnings_.push_back({at, BlockWarningKind::kNeverClosed, "", std::nullopt});
    } else if (word.role == Role::kMiddle) {
      const uint8_t parent = stack.empty() ? uint8_t{kWordCount} : stack.back().word;
      if (parent != word.pair) {
        const std::string_view where = kWords[word.pair].first;
        Add(at, BlockWarningKind::kOutside, Written(reading) + " outside " + std::string(where));
      }
    } else if (open_[reading.word] == 0) {
      Add(at, BlockWarningKind::kClosesNothing, Written(reading) + " closes no open block");
    } else {
      // Every block inside the one this word closes is cut short by it; the
      // text is made only then, as most closing words close the innermost.
      std::string cut;
      while (kWords[stack.back().word].pair != reading.word) {
        if (cut.empty()) {
          cut = " is not closed before " + Written(reading) + " on line " + std::to_string(number);
        }
        Fill(stack.back(), BlockWarningKind::kNotClosedBefore, cut);
        warnings_[stack.back().slot].closer = at;
        --open_[kWords[stack.back().word].pair];
        stack.pop_back();
      }
      --open_[reading.word];
      stack.pop_back();
    }
  }

  // The first line whose block word the indentation reads otherwise gets a
  // warning that says why, unless the settings leave the word flat.
  void CheckIndentation(std::string_view line, size_t mark, const Reading& reading,
                        const TextSpan& at) {
    const KrlWord& word = kWords[reading.word];
    if ((word.fold && !settings_.IndentFolds) || (word.routine && !settings_.IndentRoutineBodies)) {
      return;
    }
    const bool extended = settings_.ExtendedBlocks;
    const IndentationReading own = ReadIndentation(line.substr(extended ? mark : 0), extended);
    if (own.effects == expected_[reading.word]) return;
    indentation_warned_ = true;
    const std::string written = Written(reading);
    if (!extended && ReadIndentation(line.substr(mark), true).effects == expected_[reading.word]) {
      const bool behind_mark = mark > 0 && IsClassic(reading.word);
      return Add(at, BlockWarningKind::kNotIndentedAsBlock,
                 written + (behind_mark ? " after the byte-order mark" : "") +
                     " is indented as a block only with ExtendedBlocks=1");
    }
    if (word.second.empty() && own.first.size() > word.first.size() &&
        SameTextNoCase(own.first.substr(0, word.first.size()), word.first) &&
        own.first[word.first.size()] == ';') {
      return Add(at, BlockWarningKind::kNotIndentedAsBlock,
                 std::string(own.first) + " is not read as " + std::string(word.first) +
                     ": put a blank before \";\"");
    }
    Add(at, BlockWarningKind::kNotIndentedAsBlock, written + " is not indented as a block");
  }

  IndentationReading ReadIndentation(std::string_view line, bool extended) {
    if (settings_.SpacingOperators) {
      spaced_.resize(SpacedLengthBound(line.size()));
      spaced_.resize(SpaceOperators(line, spaced_.data()));
      line = spaced_;
    }
    const std::string_view trimmed = TrimLeft(line);
    return {FirstWord(trimmed), BlockEffects(trimmed, extended)};
  }

  void Add(const TextSpan& at, BlockWarningKind kind, std::string text) {
    warnings_.push_back({at, kind, std::move(text), std::nullopt});
  }

  void Fill(const Open& open, BlockWarningKind kind, std::string_view rest) {
    warnings_[open.slot].kind = kind;
    warnings_[open.slot].text = Written(open.reading) + std::string(rest);
  }

  const std::string_view text_;
  const FormatterSettings& settings_;
  const std::array<uint8_t, kWordCount>& expected_;
  std::array<size_t, kWordCount> open_{};    // open blocks, by the word that closes them
  std::array<std::vector<Open>, 2> stacks_;  // the nest of the folds, and of all others
  std::vector<BlockWarning> warnings_;
  std::string spaced_;
  bool indentation_warned_ = false;
};

}  // namespace

std::vector<BlockWarning> FindBlockWarnings(std::string_view text,
                                            const FormatterSettings& settings) {
  return BlockChecker(text, settings).Run();
}

}  // namespace vornette
