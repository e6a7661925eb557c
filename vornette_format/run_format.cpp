#include "vornette_format/run_format.h"

#include <algorithm>

#include "settings_discovery/ignore_files.h"
#include "settings_discovery/settings_finder.h"
#include "vornette/vornette.h"
#include "vornette_format/line_range_options.h"
#include "vornette_format/options.h"
#include "vornette_format/source_files.h"
#include "vornette_format/unified_diff.h"

namespace vornette {
namespace {

constexpr int kAllWell = 0;
constexpr int kChanges = 1;
constexpr int kError = 2;

std::string FailureText(FileResult result) {
  switch (result) {
    case FileResult::kOk:
      return "";
    case FileResult::kOpenFailed:
      return "cannot be opened";
    case FileResult::kReadFailed:
      return "cannot be read";
    case FileResult::kCreateFailed:
      return "cannot be written (read-only, held by another program, or no permission)";
    case FileResult::kShortWrite:
      return "cannot be written completely (is the disk full?); the file is unchanged";
    case FileResult::kNoMemory:
      return "out of memory";
  }
  return "";
}

class FormatRun {
 public:
  FormatRun(Env& env, const FormatOptions& options, std::string_view builtin_ini)
      : env_(env),
        options_(options),
        finder_(env, options.config, SettingsFromIni(builtin_ini)),
        ignore_files_(env) {}

  int Run() {
    std::vector<std::string> targets = options_.paths;
    if (targets.empty()) targets.push_back("-");
    ranged_ = !options_.lines.empty() || !options_.lf_lines.empty();
    if (ranged_ && (targets.size() != 1 ||
                    (targets[0] != "-" && env_.KindOf(targets[0]) == Env::PathKind::kFolder))) {
      env_.WriteStderr("vornette-format: --lines and --lf-lines work on exactly one file\n");
      return kError;
    }
    // An ignored folder is not walked; a .vornetteignore that cannot be
    // read is reported for each file it would decide.
    const auto keep = [&](const std::string& path, bool folder) {
      IgnoreVerdict verdict;
      std::string error;
      return options_.no_ignore || !ignore_files_.Check(path, folder, &verdict, &error) ||
             !verdict.ignored;
    };
    for (const std::string& target : targets) {
      if (target != "-" && env_.KindOf(target) == Env::PathKind::kFolder) {
        std::vector<std::string> files;
        if (!SourceFilesBelow(env_, target, keep, &files)) Error(target, "a folder cannot be read");
        for (const std::string& file : files) One(file);
      } else {
        One(target);
      }
    }
    return status_;
  }

 private:
  void Error(const std::string& name, const std::string& message) {
    env_.WriteStderr(name + ": " + message + "\n");
    status_ = kError;
  }

  void Out(std::string_view bytes) {
    if (!env_.WriteStdout(bytes) && status_ != kError) Error("<stdout>", "cannot be written");
  }

  // The .vornetteignore file `file` as the messages name it: from the
  // current folder when it lies below it.
  std::string Shown(const std::string& file) {
    std::string here = env_.CurrentFolder();
    if (!here.empty() && env_.PathSeparators().find(here.back()) == std::string_view::npos) {
      here += env_.PathSeparators().front();
    }
    return !here.empty() && file.starts_with(here) ? file.substr(here.size()) : file;
  }

  std::string IgnoreLine(const std::string& name, const IgnoreVerdict& verdict) {
    if (options_.no_ignore) return "";
    if (verdict.file.empty()) return "; " + name + ": no .vornetteignore pattern matches\n";
    return "; " + name + (verdict.ignored ? ": ignored by " : ": not ignored, by ") +
           Shown(verdict.file) + ":" + std::to_string(verdict.line) + ": " + verdict.pattern + "\n";
  }

  void One(const std::string& target) {
    const bool from_stdin = target == "-";
    const std::string name = from_stdin ? options_.stdin_filename.value_or("<stdin>") : target;
    FoundSettings found;
    std::string error;
    IgnoreVerdict ignored;
    if (!options_.no_ignore && (!from_stdin || options_.stdin_filename) &&
        !ignore_files_.Check(from_stdin ? *options_.stdin_filename : target, false, &ignored,
                             &error)) {
      return Error(name, error);
    }
    // Standard input finds its settings from its given name, or from the
    // current folder.
    if (!finder_.For(from_stdin ? options_.stdin_filename.value_or("-") : target, &found, &error)) {
      Error(name, error);
      return;
    }
    if (options_.mode == FormatOptions::Mode::kPrintConfig) {
      Out("; " + name + ": settings from " + found.source + "\n" + IgnoreLine(name, ignored) +
          SettingsToIni(found.settings));
      return;
    }
    const bool to_stdout = options_.mode == FormatOptions::Mode::kPrint ||
                           (options_.mode == FormatOptions::Mode::kInPlace && from_stdin);
    // An ignored file is skipped without a word; the filter writes it out
    // as it is.
    if (ignored.ignored && !to_stdout) return;
    ByteBuffer bytes;
    FileResult read = FileResult::kOk;
    if (from_stdin) {
      read = env_.ReadStdin(&bytes);
    } else {
      read = env_.ReadWholeFile(target, &bytes);
      if (read == FileResult::kOpenFailed && env_.KindOf(target) == Env::PathKind::kNone) {
        return Error(name, "no such file or folder");
      }
    }
    if (read != FileResult::kOk) return Error(name, FailureText(read));
    if (ignored.ignored) return Out(bytes.view());
    // Git's line numbers are mapped only when given: the map costs a pass.
    std::vector<LineRange> ranges = options_.lines;
    if (!options_.lf_lines.empty()) {
      const std::vector<LineRange> mapped = LinesOfLfRanges(bytes.view(), options_.lf_lines);
      ranges.insert(ranges.end(), mapped.begin(), mapped.end());
    }
    if (WarningsWanted()) Warn(name, bytes.view(), found.settings, ranges);
    std::string formatted;
    if (ranged_) {
      if (!FormatTextLines(bytes.view(), found.settings, ranges, &formatted, &error)) {
        return Error(name, error);
      }
    } else if (to_stdout) {
      // Straight to standard output, never held whole a second time.
      const auto out = [&](std::string_view piece) { Out(piece); };
      if (!FormatTextTo(bytes.view(), found.settings, out, &error)) Error(name, error);
      return;
    } else if (!FormatText(bytes.view(), found.settings, &formatted, &error)) {
      return Error(name, error);
    }
    if (to_stdout) return Out(formatted);
    Handle(target, name, bytes.view(), formatted);
  }

  bool WarningsWanted() const {
    return options_.warnings || options_.warnings_as_errors ||
           options_.mode == FormatOptions::Mode::kCheck ||
           options_.mode == FormatOptions::Mode::kDiff;
  }

  // Prints the block warnings of a file, those on the chosen lines only
  // when lines are chosen, in the form compilers give and editors read.
  void Warn(const std::string& name, std::string_view bytes, const FormatterSettings& settings,
            const std::vector<LineRange>& ranges) {
    std::vector<BlockWarning> warnings;
    std::string error, text;
    if (!CheckBlocks(bytes, settings, &warnings, &error)) return;  // formatting says why
    // The warnings come sorted by line: one walk along the ranges, sorted
    // by their first line, each seen once, tells which are chosen.
    std::vector<LineRange> sorted = ranges;
    std::sort(sorted.begin(), sorted.end(),
              [](const LineRange& a, const LineRange& b) { return a.first < b.first; });
    size_t next = 0, reach = 0;  // ranges taken so far, and the last line they cover
    for (const BlockWarning& warning : warnings) {
      const size_t line = warning.at.line;
      while (next < sorted.size() && sorted[next].first <= line) {
        reach = std::max(reach, sorted[next++].last);
      }
      if (ranged_ && line > reach) continue;
      text += name + ":" + std::to_string(line) + ":" + std::to_string(warning.at.column) +
              ": warning: " + warning.text + "\n";
      if (options_.warnings_as_errors && status_ == kAllWell) status_ = kChanges;
    }
    if (!text.empty()) env_.WriteStderr(text);
  }

  // What --check, --diff and -i do with a file that formatting changes; a
  // file it leaves as it is is neither reported nor touched.
  void Handle(const std::string& target, const std::string& name, std::string_view original,
              const std::string& formatted) {
    if (formatted == original) return;
    if (options_.mode != FormatOptions::Mode::kInPlace) {
      if (status_ == kAllWell) status_ = kChanges;
      Out(options_.mode == FormatOptions::Mode::kCheck ? name + "\n"
                                                       : UnifiedDiff(name, original, formatted));
      return;
    }
    if (options_.backup) {
      const std::string_view pieces[] = {original};
      const FileResult result = env_.WriteWholeFile(target + "~", pieces);
      if (result != FileResult::kOk) return Error(target + "~", FailureText(result));
    }
    const std::string_view pieces[] = {formatted};
    const FileResult result = env_.ReplaceFile(target, pieces);
    if (result != FileResult::kOk) Error(name, FailureText(result));
  }

  Env& env_;
  const FormatOptions& options_;
  SettingsFinder finder_;
  IgnoreFiles ignore_files_;
  bool ranged_ = false;
  int status_ = kAllWell;
};

}  // namespace

int RunFormat(Env& env, const std::vector<std::string>& args, std::string_view builtin_ini) {
  FormatOptions options;
  std::string error;
  if (!ParseOptions(args, &options, &error)) {
    env.WriteStderr("vornette-format: " + error + "\nTry vornette-format --help.\n");
    return kError;
  }
  if (options.help || options.version) {
    const std::string text =
        options.help ? kFormatUsage : "vornette-format " + std::string(kVersion) + "\n";
    return env.WriteStdout(text) ? kAllWell : kError;
  }
  return FormatRun(env, options, builtin_ini).Run();
}

}  // namespace vornette
