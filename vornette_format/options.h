// The command line of vornette-format.
#ifndef VORNETTE_VORNETTE_FORMAT_OPTIONS_H_
#define VORNETTE_VORNETTE_FORMAT_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

#include "vornette/vornette.h"

namespace vornette {

struct FormatOptions {
  enum class Mode {
    kPrint,        // the formatted text to standard output
    kInPlace,      // -i: rewrite the files that change
    kCheck,        // --check: name the files that would change
    kDiff,         // --diff: show what would change
    kPrintConfig,  // --print-config: the settings and where they come from
  };
  Mode mode = Mode::kPrint;
  bool backup = false;                        // --backup, with -i
  bool no_ignore = false;                     // --no-ignore: read no .vornetteignore
  std::optional<std::string> config;          // --config FILE
  std::optional<std::string> stdin_filename;  // --stdin-filename NAME
  std::vector<LineRange> lines;               // --lines A:B, as many as given
  std::vector<LineRange> lf_lines;            // --lf-lines A:B, lines as git counts them
  bool warnings = false;                      // --warnings: print block warnings in any mode
  bool warnings_as_errors = false;            // --warnings-as-errors: and exit 1 when any
  bool help = false;
  bool version = false;
  std::vector<std::string> paths;  // "-" stands for standard input
};

// Reads the arguments after the program's name. False, with the reason in
// `error`, for an unknown option, a missing value or clashing modes.
bool ParseOptions(const std::vector<std::string>& args, FormatOptions* options, std::string* error);

// The text of --help.
extern const char kFormatUsage[];

}  // namespace vornette

#endif  // VORNETTE_VORNETTE_FORMAT_OPTIONS_H_
