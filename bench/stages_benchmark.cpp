// Each formatting stage on realistic and on hostile lines, in bytes per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "formatter/capitalization.h"
#include "formatter/indent.h"
#include "formatter/line_list.h"
#include "formatter/pipeline.h"
#include "formatter/spacing.h"

namespace vornette {
namespace {

const std::vector<std::string>& RealisticLines() {
  static const std::vector<std::string> lines = {
      "PTP P1 Vel=100 % PDAT1 Tool[1] Base[0]",
      "\t\tlin p12 c_dis",
      "IF (n>3)AND(m<=4) THEN",
      "$out[7] = false ; release gripper",
      "wait for $in[2]==true",
      "DECL E6POS xP3={X 1.0,Y 2.0,Z 3.0,A 0.0,B 90.0,C 0.0,S 6,T 27,E1 0.0}",
      ";FOLD PTP P9 Vel=100 % PDAT9;%{PE}%R 8.3.31,%MKUKATPBASIS,%CMOVE,%VPTP,%P 1:PTP",
      "msg=\"Part 4 done; next\"",
      "ENDIF",
      "  count=count+1",
      ";ENDFOLD",
  };
  return lines;
}

std::string LongOperatorLine(size_t size) {
  std::string line = "x=";
  for (unsigned i = 0; line.size() < size; ++i) {
    line += "a" + std::to_string(i % 97) + "+b*" + std::to_string(i % 13) + ">=c, ";
  }
  return line;
}

std::string QuoteLine(size_t size) {
  std::string line;
  while (line.size() < size) line += "a='x\"y' ";
  return line;
}

const std::string& Hostile(int which) {
  static const std::string lines[] = {LongOperatorLine(1 << 20), std::string(100000, ' '),
                                      QuoteLine(1 << 20)};
  return lines[which];
}

// The 1 MB line of operators and words cut into lines of about 40 bytes, to
// compare one long line with the same bytes spread over short ones.
const std::vector<std::string>& LongLineCutShort() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> cut;
    const std::string& text = Hostile(0);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find(' ', start + 40);
      if (end == std::string::npos) end = text.size();
      cut.push_back(text.substr(start, end - start));
      start = end;
    }
    return cut;
  }();
  return lines;
}

// -1: realistic lines; 0: a 1 MB line of operators and words; 1: 100 000
// blanks; 2: a 1 MB line full of quote characters; 3: the bytes of 0 cut
// into short lines.
const std::vector<std::string>& LinesFor(int64_t which) {
  if (which < 0) return RealisticLines();
  if (which == 3) return LongLineCutShort();
  static const std::vector<std::string> single[] = {{Hostile(0)}, {Hostile(1)}, {Hostile(2)}};
  return single[which];
}

FormatterSettings Everything() {
  FormatterSettings settings;
  settings.Capitalization.fill(CapitalizationMode::UpperCase);
  return settings;
}

template <typename Stage>
void RunOnLines(benchmark::State& state, const std::vector<std::string>& lines, Stage stage) {
  size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& line : lines) {
      stage(line);
      bytes += line.size();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_Spacing(benchmark::State& state) {
  std::string out;
  auto stage = [&](const std::string& line) {
    if (out.size() < SpacedLengthBound(line.size())) out.resize(SpacedLengthBound(line.size()));
    benchmark::DoNotOptimize(SpaceOperators(line, out.data()));
  };
  RunOnLines(state, LinesFor(state.range(0)), stage);
}

void BM_Capitalization(benchmark::State& state) {
  const FormatterSettings settings = Everything();
  std::string scratch;
  auto stage = [&](const std::string& line) {
    scratch.assign(line);
    ApplyCapitalizations(std::span<char>(scratch.data(), scratch.size()), settings.Capitalization);
    benchmark::DoNotOptimize(scratch.data());
  };
  RunOnLines(state, LinesFor(state.range(0)), stage);
}

void BM_Indentation(benchmark::State& state) {
  IndentState indent;
  auto stage = [&](const std::string& line) {
    const IndentedLine out = IndentLine(line, indent, FormatterSettings{});
    benchmark::DoNotOptimize(out.text.data());
  };
  RunOnLines(state, LinesFor(state.range(0)), stage);
}

void BM_Pipeline(benchmark::State& state) {
  const FormatterSettings settings = Everything();
  ByteBuffer scratch;
  LineList out(1 << 16);
  IndentState indent;
  auto stage = [&](const std::string& line) {
    if (out.size() > 1000) {
      out = LineList(1 << 16);
      indent = IndentState{};
    }
    const IndentedLine formatted = FormatLine(line, settings, true, indent, scratch);
    out.AppendLine(formatted.blanks, formatted.text);
  };
  RunOnLines(state, LinesFor(state.range(0)), stage);
}

#define STAGE_BENCHMARK(name) BENCHMARK(name)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Arg(3)
STAGE_BENCHMARK(BM_Spacing);
STAGE_BENCHMARK(BM_Capitalization);
STAGE_BENCHMARK(BM_Indentation);
STAGE_BENCHMARK(BM_Pipeline);

}  // namespace
}  // namespace vornette

namespace vornette {
namespace {

// Cutting a file into lines: 0 all CR LF (nothing moves), 1 all LF (widened
// in place), 2 mixed.
void BM_CutIntoLines(benchmark::State& state) {
  std::string text;
  for (unsigned i = 0; text.size() < (16u << 20); ++i) {
    text += "\tLIN P" + std::to_string(i % 1000) + " C_DIS ; step";
    const bool crlf = state.range(0) == 0 || (state.range(0) == 2 && i % 2 == 0);
    text += crlf ? "\r\n" : "\n";
  }
  for (auto _ : state) {
    ByteBuffer bytes;
    bytes.Reserve(text.size() + text.size() / 8);
    bytes.Append(text);
    LineList list;
    CutIntoLines(std::move(bytes), &list);
    benchmark::DoNotOptimize(list.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CutIntoLines)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vornette
