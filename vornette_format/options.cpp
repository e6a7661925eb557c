#include "vornette_format/options.h"

#include <string_view>

#include "vornette_format/line_range_options.h"

namespace vornette {

const char kFormatUsage[] =
    "Usage: vornette-format [options] [PATH ...]\n"
    "Formats KUKA KRL programs as vornette does: operators spaced, keywords recased,\n"
    "blocks indented, CR LF line ends. Without PATH, or with -, reads standard input.\n"
    "A folder stands for every .src, .dat and .sub file below it (hidden folders\n"
    "skipped). Without -i, --check or --diff the formatted text goes to standard output.\n"
    "\n"
    "  -i, --in-place         rewrite the files that change (atomically, mode kept)\n"
    "      --backup           with -i: keep the old file as PATH~\n"
    "      --check            name every file that would change; exit 1 if any\n"
    "      --diff             show a unified diff of what would change; exit 1 if any\n"
    "      --config FILE      take the settings from FILE\n"
    "      --stdin-filename NAME  the name of standard input, for messages and for\n"
    "                         finding its Vornette.ini\n"
    "      --print-config     print the settings each PATH gets, their source, and\n"
    "                         whether a .vornetteignore leaves PATH out\n"
    "      --no-ignore        read no .vornetteignore: format every file given\n"
    "      --lines A:B        only lines A to B (from 1) of the one file: they get what\n"
    "                         formatting the whole file gives them, every other byte\n"
    "                         and every line end stays; repeat for more ranges\n"
    "      --lf-lines A:B     as --lines, counting lines as git does (only LF ends one)\n"
    "      --warnings         print the block warnings of every file read on standard\n"
    "                         error, as PATH:LINE:COLUMN: warning: TEXT (--check and\n"
    "                         --diff always print them)\n"
    "      --warnings-as-errors  print them, and exit 1 when there is one\n"
    "      --lsp              run as a language server on standard input and output\n"
    "                         (alone: no other option or PATH)\n"
    "  -h, --help             this text\n"
    "      --version          the version\n"
    "\n"
    "Settings: --config FILE, else the nearest Vornette.ini in the file's folder or\n"
    "above, else the Vornette.ini beside this program, else the shipped defaults.\n"
    "Files that the .vornetteignore files in their folder and above leave out (as\n"
    ".gitignore does, letter case ignored) are skipped, written out unchanged by the\n"
    "filter.\n"
    "Exit status: 0 all well, 1 --check or --diff found changes (or\n"
    "--warnings-as-errors a warning), 2 an error.\n";

bool ParseOptions(const std::vector<std::string>& args, FormatOptions* options,
                  std::string* error) {
  using Mode = FormatOptions::Mode;
  bool mode_given = false;
  auto set_mode = [&](Mode mode) {
    if (mode_given && options->mode != mode) {
      *error = "choose only one of -i, --check, --diff and --print-config";
      return false;
    }
    mode_given = true;
    options->mode = mode;
    return true;
  };
  bool only_paths = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_paths || arg == "-" || !arg.starts_with("-")) {
      options->paths.push_back(arg);
      continue;
    }
    // A value comes as --name=VALUE or as the next argument.
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    auto value = [&](std::optional<std::string>* into) {
      if (equals != std::string::npos) {
        *into = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        *into = args[++i];
      } else {
        *error = "option " + name + " needs a value";
        return false;
      }
      return true;
    };
    bool ok = true;
    if (arg == "--") {
      only_paths = true;
    } else if (arg == "-i" || arg == "--in-place") {
      ok = set_mode(Mode::kInPlace);
    } else if (arg == "--check") {
      ok = set_mode(Mode::kCheck);
    } else if (arg == "--diff") {
      ok = set_mode(Mode::kDiff);
    } else if (arg == "--print-config") {
      ok = set_mode(Mode::kPrintConfig);
    } else if (arg == "--warnings") {
      options->warnings = true;
    } else if (arg == "--warnings-as-errors") {
      options->warnings_as_errors = true;
    } else if (arg == "--no-ignore") {
      options->no_ignore = true;
    } else if (arg == "--backup") {
      options->backup = true;
    } else if (name == "--config") {
      ok = value(&options->config);
    } else if (name == "--stdin-filename") {
      ok = value(&options->stdin_filename);
    } else if (name == "--lines" || name == "--lf-lines") {
      std::optional<std::string> text;
      LineRange range;
      ok = value(&text);
      if (ok && !ParseLineRange(*text, &range)) {
        *error = name + " wants A:B, two line numbers from 1 with A <= B, not \"" + *text + "\"";
        ok = false;
      }
      if (ok) (name == "--lines" ? options->lines : options->lf_lines).push_back(range);
    } else if (arg == "--lsp") {
      *error = "--lsp takes no other option or path";
      return false;
    } else if (arg == "-h" || arg == "--help") {
      options->help = true;
    } else if (arg == "--version") {
      options->version = true;
    } else {
      *error = "unknown option " + arg;
      ok = false;
    }
    if (!ok) return false;
  }
  if (options->backup && options->mode != Mode::kInPlace) {
    *error = "--backup goes with -i only";
    return false;
  }
  return true;
}

}  // namespace vornette
