// The built program in scratch folders, one row per console outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "basic/constants.h"
#include "tests/memory_env.h"
#include "tests/run_program.h"

namespace vornette::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The first `steps` of a formatted file's five console lines, then "Error: "
// and `error` if any, and the closing line when the final save failed.
Lines Steps(const std::string& name, size_t steps, const std::string& error = "") {
  const std::string quoted = " file \"" + name;
  Lines lines = {"Debug: Open" + quoted + "\".", "Debug: Save" + quoted + "~\".",
                 "Debug: Process" + quoted + "\".", "Debug: Save" + quoted + "\".",
                 "Debug: Done" + quoted + "\"."};
  lines.resize(steps);
  if (!error.empty()) lines.push_back("Error: " + error);
  if (!error.empty() && steps == 4) lines.push_back("Debug: Done file \"" + name + "\".");
  return lines;
}

// What the program cannot create ("save") or open: its message for `name`.
std::string Refused(const std::string& verb, const std::string& name) {
  const std::string text = verb == "open" ? "kann nicht ge\xC3\xB6"
                                            "ffnet werden"
                                          : "kann nicht erstellt werden";
  return "Can not " + verb + " file \"" + name + "\". Message: Datei " + name + " " + text;
}

std::string Missing(const std::string& name) { return "File \"" + name + "\" do not exist!"; }

// Prepares a sandbox by a list of steps: "NAME=BYTES" writes a file ("ini"
// the one beside the program, "noini" removes it), "dir NAME" makes a
// folder, "ro NAME" makes a file read-only, "hold NAME" and "share NAME"
// hold a file open as another program would (others may not write it, and
// with hold not read it either), "fifo NAME" makes a named pipe, "link
// NAME=TARGET" a symbolic link, "huge NAME" a sparse file of a terabyte.
// False when the system cannot make one of them.
using Held = std::vector<std::unique_ptr<HeldFile>>;
bool Prepare(const Sandbox& box, const Lines& steps, Held& held) {
  const std::string verbs[] = {"dir", "ro", "hold", "share", "fifo", "link", "huge"};
  for (const std::string& step : steps) {
    const std::string word = step.substr(0, step.find(' '));
    const bool known = std::find(std::begin(verbs), std::end(verbs), word) != std::end(verbs);
    const std::string verb = known ? word : "", rest = step.substr(known ? word.size() + 1 : 0);
    const size_t equals = std::min(rest.find('='), rest.size());
    const std::string name = rest.substr(0, equals), path = box.Path(name);
    const std::string bytes = rest.substr(std::min(equals + 1, rest.size()));
    std::error_code failed;
    if (verb == "dir") fs::create_directory(path);
    if (verb == "ro") fs::permissions(path, fs::perms(0222), fs::perm_options::remove);
    if (verb == "hold" || verb == "share")
      held.push_back(std::make_unique<HeldFile>(path, verb == "share"));
    if (verb == "fifo") MakeFifo(path);
    if (verb == "link") fs::create_symlink(bytes, path);
    if (verb == "huge") {
      box.WriteFile(name, "x");
      fs::resize_file(path, uintmax_t{1} << 40, failed);
    }
    if (step == "noini") {
      box.SetIni(std::nullopt);
    } else if (verb.empty()) {
      box.WriteFile(name == "ini" ? "bin/Vornette.ini" : name, bytes);
    }
    // Under AddressSanitizer a request for more memory than there is ends
    // the program instead of failing.
    if (failed || (verb == "huge" && VORNETTE_SANITIZED)) return false;
  }
  return true;
}

enum Systems { kBoth, kPosixOnly, kWindowsOnly };

struct Outcome {
  Lines setup;
  Lines args;
  Lines lines;                               // after the banner; {ini} is the INI's path
  std::map<std::string, std::string> files;  // afterwards
  int status = 0;
  RunOptions options = {};
  Systems systems = kBoth;
};

TEST(ProgramTest, Outcomes) {
  const std::string src = "DEF a()\r\nx=1\r\nEND\r\n";
  const std::string ini = "bin/Vornette.ini";
  const std::string config_failed = "Error: Exception while reading from config file \"{ini}\". ";
  // clang-format off
  const Outcome outcomes[] = {
      // Formatted: any line ends, names with blanks, an empty file.
      {{"a b.src=DEF a()\nx=1\r  END", "lf.src=\xEF\xBB\xBF" "a\n\rb", "e.src="},
       {"a b.src", "lf.src", "e.src"}, Steps("a b.src", 5) + Steps("lf.src", 5) + Steps("e.src", 5),
       {{"a b.src~", "DEF a()\r\nx=1\r\n  END\r\n"}, {"a b.src", "DEF a()\r\n  x=1\r\nEND\r\n"},
        {"lf.src~", "\xEF\xBB\xBF" "a\r\n\r\nb\r\n"}, {"e.src", ""}, {"e.src~", ""}}},
      // The file's own line ends: a backup equal to a file whose lines end
      // alike, no line end added after a last line without one.
      {{"ini=[Spacing]\nSpacingOperators=0\n[Output]\nLineEnding=Auto", "lf.src=DEF a()\nx\nEND\n",
        "open.src=DEF a()\r\nx\r\nEND", "mixed.src=a\nb\r\nc\r"},
       {"lf.src", "open.src", "mixed.src"},
       Steps("lf.src", 5) + Steps("open.src", 5) + Steps("mixed.src", 5),
       {{"lf.src~", "DEF a()\nx\nEND\n"}, {"lf.src", "DEF a()\n  x\nEND\n"},
        {"open.src~", "DEF a()\r\nx\r\nEND"}, {"open.src", "DEF a()\r\n  x\r\nEND"},
        {"mixed.src~", "a\nb\nc\n"}, {"mixed.src", "a\nb\nc\n"}}},
      {{"ini=[Output]\nLineEnding=LF", "a.src=x\r\ny"}, {"a.src"}, Steps("a.src", 5),
       {{"a.src~", "x\ny\n"}, {"a.src", "x\ny\n"}}},
      // The same name twice: the backup holds the first result.
      {{"ini=", "a.src=x=1"}, {"a.src", "a.src"}, Steps("a.src", 5) + Steps("a.src", 5),
       {{"a.src~", "x = 1\r\n"}, {"a.src", "x = 1\r\n"}}},
      // No regular file of that name; devices are no files either.
      {{"dir d.src"}, {"-h", "d.src"}, Steps("-h", 1, Missing("-h")) + Steps("d.src", 1, Missing("d.src")),
       {{"d.src~", "<missing>"}}},
      {{"fifo f.src"}, {"f.src"}, Steps("f.src", 1, Missing("f.src")), {}, 0, {}, kPosixOnly},
      {{}, {"NUL", "con.src", "LPT1.dat"}, Steps("NUL", 1, Missing("NUL")) +
           Steps("con.src", 1, Missing("con.src")) + Steps("LPT1.dat", 1, Missing("LPT1.dat")),
       {}, 0, {}, kWindowsOnly},
      // The command line as typed: a quoted name, a "" pair, a lone quote.
      {{"my prog.src=x", "ab.src=y"}, {"unused"}, Steps("my prog.src", 5) + Steps("ab.src", 5),
       {{"ab.src", "y\r\n"}}, 0, {.command_line = "vornette.exe  \"my prog.src\"\ta\"\"b.src \""},
       kWindowsOnly},
      // Held by another program; holding a NUL byte; a size beyond memory
      // (where the file system has sparse files).
      {{"h.src=x", "hold h.src", std::string("u.src=\xFF\xFE" "D\0E\0", 12)}, {"h.src", "u.src"},
       Steps("h.src", 1, Refused("open", "h.src")) +
           Steps("u.src", 1, "Can not open file \"u.src\". Message: Datei u.src enth\xC3\xA4lt ein "
                             "NUL-Byte und ist keine Textdatei"),
       {{"h.src~", "<missing>"}, {"u.src~", "<missing>"}}},
      {{"huge huge.src"}, {"huge.src"},
       Steps("huge.src", 1, "Can not open file \"huge.src\". Message: Zu wenig Arbeitsspeicher"),
       {{"huge.src~", "<missing>"}}, 0, {}, kPosixOnly},
      // The backup refused: a directory, read-only, held.
      {{"dir d.src~", "d.src=" + src, "r.src=" + src, "h.src=" + src, "r.src~=" + src, "ro r.src~",
        "h.src~=" + src, "share h.src~"},
       {"d.src", "r.src", "h.src"}, Steps("d.src", 2, Refused("save", "d.src~")) +
           Steps("r.src", 2, Refused("save", "r.src~")) + Steps("h.src", 2, Refused("save", "h.src~")),
       {{"d.src", src}, {"r.src", src}, {"r.src~", src}, {"h.src~", src}}},
      // The backup cut short: the source is not touched.
      {{"a.src=" + src}, {"a.src"},
       Steps("a.src", 2, "Can not save file \"a.src~\". Message: Stream-Write-Fehler"),
       {{"a.src", src}}, 0, {.file_size_limit = 10}, kPosixOnly},
      // A read-only source keeps its content; a result cut short leaves the
      // backup complete.
      {{"a.src=" + src, "ro a.src"}, {"a.src"}, Steps("a.src", 4, Refused("save", "a.src")),
       {{"a.src", src}, {"a.src~", src}}},
      {{"a.src=" + src}, {"a.src"},
       Steps("a.src", 4, "Can not save file \"a.src\". Message: Stream-Write-Fehler"),
       {{"a.src~", src}}, 0, {.file_size_limit = src.size()}, kPosixOnly},
      // A directory in place of the configuration: nothing is formatted.
      {{"noini", "dir " + ini, "a.src=" + src}, {"a.src", "b.src"}, {},
       {{"a.src", src}, {"a.src~", "<missing>"}}},
      // The configuration held by another program, or unreadable (/proc/self/mem
      // passes as a regular file, but reading it from its start fails).
      {{"hold " + ini}, {"a.src"},
       {config_failed + "Message: Datei {ini} kann nicht ge\xC3\xB6" "ffnet werden"}, {}},
      {{"noini", "link " + ini + "=/proc/self/mem"}, {"a.src"},
       {config_failed + "Message: Stream-Read-Fehler"}, {}, 0, {}, kPosixOnly},
      // Indentation beyond 32 bits ends the run, the file whole.
      {{"ini=[Indent]\nIndentWidth=$80000000", "a.src=x\nEND\ny\n"}, {"a.src", "b.src"},
       Steps("a.src", 3, "Out of memory: Zu wenig Arbeitsspeicher"),
       {{"a.src", "x\nEND\ny\n"}, {"a.src~", "x\r\nEND\r\ny\r\n"}}, 1},
      // Standard output closed, or a pipe nobody reads: the file in hand is
      // finished, then the run stops with status 1, killed by no signal.
      {{"a.src=x\n", "b.src=y\n"}, {"a.src", "b.src"}, {}, {{"a.src", "x\r\n"}, {"b.src", "y\n"}}, 1,
       {.close_stdout = true}, kPosixOnly},
      {{"a.src=x\n", "b.src=y\n"}, {"a.src", "b.src"}, {}, {{"a.src", "x\r\n"}, {"b.src", "y\n"}}, 1,
       {.broken_pipe = true}, kPosixOnly}};
  // clang-format on
  for (const Outcome& outcome : outcomes) {
    if (outcome.systems == (kOnWindows ? kPosixOnly : kWindowsOnly)) continue;
    Sandbox box;
    box.SetIni("[Spacing]\nSpacingOperators=0\n");
    Held held;
    if (!Prepare(box, outcome.setup, held)) continue;
    const RunResult run = box.Run(outcome.args, outcome.options);
    held.clear();
    EXPECT_EQ(std::pair(run.exit_status, run.signal), std::pair(outcome.status, 0))
        << outcome.args[0];
    for (const auto& [name, bytes] : outcome.files) {
      EXPECT_EQ(box.ReadFile(name), bytes) << outcome.args[0] << ": " << name;
    }
    if (outcome.options.close_stdout || outcome.options.broken_pipe) continue;
    std::string expected = std::string(kBanner) + "\r\n";
    for (const std::string& line : outcome.lines) expected += line + "\r\n";
    for (size_t at; (at = expected.find("{ini}")) != std::string::npos;) {
      expected.replace(at, 5, box.Path(ini));
    }
    EXPECT_EQ(run.output, expected) << outcome.args[0];
  }
}

}  // namespace
}  // namespace vornette::testing
