#include "formatter/indent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <vector>

#include "basic/basic.h"
#include "basic/packed_word.h"
#include "formatter/word_tables.h"

namespace vornette {
namespace {

// The number of blanks for `level`: the product, never negative. A product
// beyond the 32-bit range cannot be built; it must not wrap into a wrong count.
int64_t BlanksFor(int32_t indent_width, int64_t level) {
  int64_t product = 0;
  if (__builtin_mul_overflow(static_cast<int64_t>(indent_width), level, &product) ||
      product > std::numeric_limits<int32_t>::max() ||
      product < std::numeric_limits<int32_t>::min()) {
    throw std::bad_alloc();
  }
  return product > 0 ? product : 0;
}

// No block word is longer than this.
constexpr size_t kLongestBlockWord = 9;

struct BlockWord {
  PackedWord word;
  uint8_t effects = 0;
};

// Every word of the four block tables once, with its effects.
const std::vector<BlockWord>& BlockWords() {
  static const std::vector<BlockWord> words = [] {
    std::vector<BlockWord> all;
    auto add = [&](std::span<const std::string_view> table, BlockWordEffect effect) {
      for (std::string_view word : table) {
        const PackedWord packed = PackUpper(word);
        auto known = std::find_if(all.begin(), all.end(),
                                  [&](const BlockWord& w) { return w.word == packed; });
        if (known == all.end()) known = all.insert(all.end(), BlockWord{packed, 0});
        known->effects |= effect;
      }
    };
    add(BlockCloseWords, kClosesBlock);
    add(CaseCloseWords, kClosesCase);
    add(BlockOpenWords, kOpensBlock);
    add(CaseOpenWords, kOpensCase);
    add(RoutineWords, kRoutine);
    return all;
  }();
  return words;
}

// For every first byte, a bit for every length of block word beginning with
// it: most first words are ruled out without a lookup.
const std::array<uint16_t, 256>& BlockWordLengths() {
  static const std::array<uint16_t, 256> lengths = [] {
    std::array<uint16_t, 256> all{};
    for (auto table : {std::span<const std::string_view>(BlockOpenWords),
                       std::span<const std::string_view>(BlockCloseWords),
                       std::span<const std::string_view>(CaseOpenWords),
                       std::span<const std::string_view>(CaseCloseWords)}) {
      for (std::string_view word : table) {
        for (char first : {ToUpperAscii(word[0]), ToLowerAscii(word[0])}) {
          all[static_cast<unsigned char>(first)] |= uint16_t{1} << word.size();
        }
      }
    }
    return all;
  }();
  return lengths;
}

// Inlined into the indentation step, which calls it for every line.
[[gnu::always_inline]] inline uint8_t BlockWordEffects(std::string_view word) {
  if (word.empty() || word.size() > kLongestBlockWord) return 0;
  if (!((BlockWordLengths()[static_cast<unsigned char>(word[0])] >> word.size()) & 1)) return 0;
  const PackedWord packed = PackUpper(word);
  for (const BlockWord& block_word : BlockWords()) {
    if (block_word.word == packed) return block_word.effects;
  }
  return 0;
}

// The words that only the extended rules know, with their effects.
uint8_t ExtendedWordEffects(std::string_view word) {
  static const std::pair<PackedWord, uint8_t> kWords[] = {
      {PackUpper("SPLINE"), kOpensBlock},    {PackUpper("PTP_SPLINE"), kOpensBlock},
      {PackUpper("SKIP"), kOpensBlock},      {PackUpper("ENDSPLINE"), kClosesBlock},
      {PackUpper("ENDSKIP"), kClosesBlock},  {PackUpper("GLOBAL"), kGlobal},
      {PackUpper("TIME_BLOCK"), kTimeBlock}, {PackUpper("CONST_VEL"), kConstVel}};
  if (word.size() < 4 || word.size() > 10) return 0;
  const PackedWord packed = PackUpper(word);
  for (const auto& [known, effects] : kWords) {
    if (known == packed) return effects;
  }
  return 0;
}

// The effects of a line that begins with `word` under the extended rules,
// where GLOBAL, TIME_BLOCK and CONST_VEL take their meaning from the next
// word: after blanks and TABs, the run of non-separators that follows.
uint8_t ExtendedEffects(std::string_view trimmed, std::string_view word) {
  const uint8_t effects = BlockWordEffects(word) | ExtendedWordEffects(word);
  if (!(effects & (kGlobal | kTimeBlock | kConstVel))) return effects;
  const std::string_view second = FirstWord(SkipBlanksAndTabs(trimmed.substr(word.size())));
  if (effects & kGlobal) {
    const uint8_t routine = BlockWordEffects(second);
    return (routine & kRoutine) && (routine & kOpensBlock) ? routine : 0;
  }
  if (SameTextNoCase(second, "START")) return kOpensBlock;
  if (SameTextNoCase(second, "END")) return kClosesBlock;
  if ((effects & kTimeBlock) && SameTextNoCase(second, "PART")) return kClosesBlock | kOpensBlock;
  return 0;
}

}  // namespace

std::string_view FirstWord(std::string_view line) {
  size_t end = 0;
  while (end < line.size() && !IsSeparator(line[end])) ++end;
  return line.substr(0, end);
}

std::string_view TrimLeft(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && static_cast<unsigned char>(line[start]) <= 0x20) ++start;
  return line.substr(start);
}

uint8_t BlockEffects(std::string_view trimmed, bool extended) {
  const std::string_view word = FirstWord(trimmed);
  return extended ? ExtendedEffects(trimmed, word) : BlockWordEffects(word);
}

IndentedLine IndentLine(std::string_view line, IndentState& state,
                        const FormatterSettings& settings, bool column_one) {
  const std::string_view trimmed = TrimLeft(line);
  const std::string_view word = FirstWord(trimmed);
  uint8_t effects =
      settings.ExtendedBlocks ? ExtendedEffects(trimmed, word) : BlockWordEffects(word);
  if (effects != 0) {
    if ((effects & kRoutine) && !settings.IndentRoutineBodies) effects = 0;
    // The only block words that begin with ";" are the fold words.
    if (word[0] == ';' && !settings.IndentFolds) effects = 0;
  }

  if (effects & kClosesBlock) --state.IndentLevel;
  if (effects & kClosesCase) --state.CaseLevel;
  if (state.CaseLevel < 0) state.CaseLevel = 0;

  const int64_t blanks = column_one ? 0
                                    : BlanksFor(settings.IndentWidth, state.IndentLevel) +
                                          BlanksFor(settings.IndentWidth, state.CaseLevel);

  if (effects & kOpensBlock) ++state.IndentLevel;
  if (effects & kOpensCase) ++state.CaseLevel;
  return {static_cast<size_t>(blanks), trimmed};
}

}  // namespace vornette
