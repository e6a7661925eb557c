// The built program in scratch folders, one row per console outcome.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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

// The first `steps` of a formatted file's five lines, then "Error: " and
// `error` if any, and the closing line when the final save failed.
Lines Steps(const std::string& name, size_t steps, const std::string& error = "") {
  Lines lines = FormattedLines(name);
  lines.resize(steps);
  if (!error.empty()) lines.push_back("Error: " + error);
  if (!error.empty() && steps == 4) lines.push_back("Debug: Done file \"" + name + "\".");
  return lines;
}

// What the program cannot create or open: its message for `name`.
std::string Refused(const std::string& verb, const std::string& name) {
  const std::string text = verb == "open" ? "kann nicht ge\xC3\xB6"
                                            "ffnet werden"
                                          : "kann nicht erstellt werden";
  return "Can not " + verb + " file \"" + name + "\". Message: Datei " + name + " " + text;
}

// Files held open during the run, as by another program.
using Held = std::vector<std::unique_ptr<HeldFile>>;
void Hold(const std::string& path, bool others_may_read, Held& held) {
  held.push_back(std::make_unique<HeldFile>(path, others_may_read));
}

// Prepares a sandbox.
using Setup = std::function<void(const Sandbox&, Held&)>;

Setup Files(std::map<std::string, std::string> files) {
  return [=](const Sandbox& box, Held&) {
    for (const auto& [name, bytes] : files) box.WriteFile(name, bytes);
  };
}

void MakeReadOnly(const std::string& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

enum Systems { kBoth, kPosixOnly, kWindowsOnly };

struct Outcome {
  Setup setup;
  Lines args;
  Lines lines;                               // after the banner; {ini} is the INI's path
  std::map<std::string, std::string> files;  // afterwards
  int status = 0;
  RunOptions options = {};
  Systems systems = kBoth;
};

TEST(ProgramTest, Outcomes) {
  const std::string ini = "bin/Vornette.ini";
  const std::string src = "DEF a()\r\nx=1\r\nEND\r\n";
  // clang-format off
  const Outcome outcomes[] = {
      // Formatted: any line ends, names with blanks, an empty file.
      {Files({{"a b.src", "DEF a()\nx=1\r  END"}, {"lf.src", "\xEF\xBB\xBF" "a\n\rb"},
              {"e.src", ""}}),
       {"a b.src", "lf.src", "e.src"}, Steps("a b.src", 5) + Steps("lf.src", 5) + Steps("e.src", 5),
       {{"a b.src~", "DEF a()\r\nx=1\r\n  END\r\n"}, {"a b.src", "DEF a()\r\n  x=1\r\nEND\r\n"},
        {"lf.src~", "\xEF\xBB\xBF" "a\r\n\r\nb\r\n"}, {"e.src", ""}, {"e.src~", ""}}},
      // The same name twice: the backup holds the first result.
      {[](const Sandbox& box, Held&) { box.SetIni(""); box.WriteFile("a.src", "x=1"); },
       {"a.src", "a.src"}, Steps("a.src", 5) + Steps("a.src", 5),
       {{"a.src~", "x = 1\r\n"}, {"a.src", "x = 1\r\n"}}},
      // No regular file of that name.
      {[](const Sandbox& box, Held&) { fs::create_directory(box.Path("d.src")); },
       {"-h", "d.src"}, Steps("-h", 1, "File \"-h\" do not exist!") +
           Steps("d.src", 1, "File \"d.src\" do not exist!"), {{"d.src~", "<missing>"}}},
      {[](const Sandbox& box, Held&) { MakeFifo(box.Path("f.src")); }, {"f.src"},
       Steps("f.src", 1, "File \"f.src\" do not exist!"), {}, 0, {}, kPosixOnly},
      // Devices are no files: nothing is read from or written to them.
      {Files({}), {"NUL", "con.src", "LPT1.dat"}, Steps("NUL", 1, "File \"NUL\" do not exist!") +
           Steps("con.src", 1, "File \"con.src\" do not exist!") +
           Steps("LPT1.dat", 1, "File \"LPT1.dat\" do not exist!"), {}, 0, {}, kWindowsOnly},
      // The command line as typed: a quoted name, a "" pair, a lone quote.
      {Files({{"my prog.src", "x"}, {"ab.src", "y"}}), {"unused"},
       Steps("my prog.src", 5) + Steps("ab.src", 5), {{"ab.src", "y\r\n"}}, 0,
       {.command_line = "vornette.exe  \"my prog.src\"\ta\"\"b.src \""}, kWindowsOnly},
      // Held by another program; holding a NUL byte.
      {[](const Sandbox& box, Held& held) {
         box.WriteFile("h.src", "x=1\n");
         Hold(box.Path("h.src"), false, held);
         box.WriteFile("u.src", std::string("\xFF\xFE" "D\0E\0", 6));
       },
       {"h.src", "u.src"}, Steps("h.src", 1, Refused("open", "h.src")) +
           Steps("u.src", 1, "Can not open file \"u.src\". Message: Datei u.src enth\xC3\xA4lt ein "
                             "NUL-Byte und ist keine Textdatei"),
       {{"h.src~", "<missing>"}, {"u.src~", "<missing>"}}},
      // The backup refused: a directory, read-only, held.
      {[=](const Sandbox& box, Held& held) {
         fs::create_directory(box.Path("d.src~"));
         for (std::string name : {"d.src", "r.src", "h.src", "r.src~", "h.src~"}) {
           box.WriteFile(name, src);
         }
         MakeReadOnly(box.Path("r.src~"));
         Hold(box.Path("h.src~"), true, held);
       },
       {"d.src", "r.src", "h.src"}, Steps("d.src", 2, Refused("save", "d.src~")) +
           Steps("r.src", 2, Refused("save", "r.src~")) +
           Steps("h.src", 2, Refused("save", "h.src~")),
       {{"d.src", src}, {"r.src", src}, {"r.src~", src}, {"h.src~", src}}},
      // The backup cut short: the source is not touched.
      {Files({{"a.src", src}}), {"a.src"},
       Steps("a.src", 2, "Can not save file \"a.src~\". Message: Stream-Write-Fehler"),
       {{"a.src", src}}, 0, {.file_size_limit = 10}, kPosixOnly},
      // A read-only source keeps its content.
      {[&](const Sandbox& box, Held&) {
         box.WriteFile("a.src", src);
         MakeReadOnly(box.Path("a.src"));
       },
       {"a.src"}, Steps("a.src", 4, Refused("save", "a.src")), {{"a.src", src}, {"a.src~", src}}},
      // The result cut short: the backup is complete.
      {Files({{"a.src", src}}), {"a.src"},
       Steps("a.src", 4, "Can not save file \"a.src\". Message: Stream-Write-Fehler"),
       {{"a.src~", src}}, 0, {.file_size_limit = src.size()}, kPosixOnly},
      // A directory in place of the configuration: nothing is formatted.
      {[=](const Sandbox& box, Held&) {
         box.SetIni(std::nullopt);
         fs::create_directory(box.Path(ini));
         box.WriteFile("a.src", src);
       },
       {"a.src", "b.src"}, {}, {{"a.src", src}, {"a.src~", "<missing>"}}},
      // The configuration held by another program, or unreadable (/proc/self/mem
      // passes as a regular file, but reading it from its start fails).
      {[=](const Sandbox& box, Held& held) { Hold(box.Path(ini), false, held); },
       {"a.src"},
       {"Error: Exception while reading from config file \"{ini}\". Message: Datei {ini} "
        "kann nicht ge\xC3\xB6" "ffnet werden"}, {}},
      {[=](const Sandbox& box, Held&) {
         box.SetIni(std::nullopt);
         fs::create_symlink("/proc/self/mem", box.Path(ini));
       },
       {"a.src"},
       {"Error: Exception while reading from config file \"{ini}\". Message: Stream-Read-Fehler"},
       {}, 0, {}, kPosixOnly},
      // Indentation beyond 32 bits ends the run, the file whole.
      {[](const Sandbox& box, Held&) {
         box.SetIni("[Indent]\nIndentWidth=$80000000\n");
         box.WriteFile("a.src", "x\nEND\ny\n");
       },
       {"a.src", "b.src"}, Steps("a.src", 3, "Out of memory: Zu wenig Arbeitsspeicher"),
       {{"a.src", "x\nEND\ny\n"}, {"a.src~", "x\r\nEND\r\ny\r\n"}}, 1}};
  // clang-format on
  for (const Outcome& outcome : outcomes) {
    if (outcome.systems == (kOnWindows ? kPosixOnly : kWindowsOnly)) continue;
    Sandbox box;
    box.SetIni("[Spacing]\nSpacingOperators=0\n");
    RunResult run;
    {
      Held held;
      outcome.setup(box, held);
      run = box.Run(outcome.args, outcome.options);
    }
    const std::string row = outcome.args[0];
    EXPECT_EQ(run.exit_status, outcome.status) << row;
    Lines expected = Lines{std::string(kBanner)} + outcome.lines;
    for (std::string& line : expected) {
      for (size_t at; (at = line.find("{ini}")) != std::string::npos;) {
        line.replace(at, 5, box.Path(ini));
      }
    }
    EXPECT_EQ(SplitConsoleLines(run.output), expected) << row;
    EXPECT_TRUE(run.output.ends_with("\r\n")) << row;
    for (const auto& [name, bytes] : outcome.files) {
      EXPECT_EQ(box.ReadFile(name), bytes) << row << ": " << name;
    }
  }
}

TEST(ProgramTest, LostStandardOutputNeverLeavesAHalfWrittenFile) {
  if (kOnWindows) GTEST_SKIP() << "standard output is closed and broken the POSIX way";
  for (bool closed : {true, false}) {
    RunOptions options;
    (closed ? options.close_stdout : options.broken_pipe) = true;
    Sandbox box;
    box.SetIni("");
    box.WriteFile("a.src", "x\n");
    box.WriteFile("b.src", "y\n");
    const RunResult run = box.Run({"a.src", "b.src"}, options);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(box.ReadFile("a.src"), "x\r\n");
    EXPECT_EQ(box.ReadFile("b.src"), "y\n");
  }
}

}  // namespace
}  // namespace vornette::testing
