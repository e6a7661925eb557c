// Cutting a whole command line, as some platforms hand it over, into
// arguments.
#ifndef VORNETTE_PROGRAM_COMMAND_LINE_H_
#define VORNETTE_PROGRAM_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

namespace vornette {

// Splits `command_line` into its arguments, argument 0 (the program) first.
// Bytes up to 0x20 separate arguments outside double quotes; a quoted run
// keeps its blanks and loses its quotes; a pair of double quotes that begins
// an argument is dropped; an argument that comes out empty ends the list.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

}  // namespace vornette

#endif  // VORNETTE_PROGRAM_COMMAND_LINE_H_
