// The built program in scratch folders, one row per console outcome.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>

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

// Holds an flock lock, as another program holding the file open would.
void Lock(const std::string& path, int operation, std::vector<int>& fds) {
  fds.push_back(::open(path.c_str(), O_RDONLY));
  EXPECT_EQ(::flock(fds.back(), operation | LOCK_NB), 0) << path;
}

// Prepares a sandbox; the descriptors it leaves hold locks during the run.
using Setup = std::function<void(const Sandbox&, std::vector<int>&)>;

Setup Files(std::map<std::string, std::string> files) {
  return [=](const Sandbox& box, std::vector<int>&) {
    for (const auto& [name, bytes] : files) box.WriteFile(name, bytes);
  };
}

struct Outcome {
  Setup setup;
  Lines args;
  Lines lines;                               // after the banner; {ini} is the INI's path
  std::map<std::string, std::string> files;  // afterwards
  int status = 0;
  RunOptions options = {};
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
      {[](const Sandbox& box, std::vector<int>&) { box.SetIni(""); box.WriteFile("a.src", "x=1"); },
       {"a.src", "a.src"}, Steps("a.src", 5) + Steps("a.src", 5),
       {{"a.src~", "x = 1\r\n"}, {"a.src", "x = 1\r\n"}}},
      // No regular file of that name.
      {[](const Sandbox& box, std::vector<int>&) {
         fs::create_directory(box.Path("d.src"));
         ::mkfifo(box.Path("f.src").c_str(), 0644);
       },
       {"-h", "d.src", "f.src"}, Steps("-h", 1, "File \"-h\" do not exist!") +
           Steps("d.src", 1, "File \"d.src\" do not exist!") +
           Steps("f.src", 1, "File \"f.src\" do not exist!"),
       {{"d.src~", "<missing>"}}},
      // Held by another program; holding a NUL byte.
      {[](const Sandbox& box, std::vector<int>& fds) {
         box.WriteFile("h.src", "x=1\n");
         Lock(box.Path("h.src"), LOCK_EX, fds);
         box.WriteFile("u.src", std::string("\xFF\xFE" "D\0E\0", 6));
       },
       {"h.src", "u.src"}, Steps("h.src", 1, Refused("open", "h.src")) +
           Steps("u.src", 1, "Can not open file \"u.src\". Message: Datei u.src enth\xC3\xA4lt ein "
                             "NUL-Byte und ist keine Textdatei"),
       {{"h.src~", "<missing>"}, {"u.src~", "<missing>"}}},
      // The backup refused: a directory, read-only, held.
      {[=](const Sandbox& box, std::vector<int>& fds) {
         fs::create_directory(box.Path("d.src~"));
         for (std::string name : {"d.src", "r.src", "h.src", "r.src~", "h.src~"}) {
           box.WriteFile(name, src);
         }
         ::chmod(box.Path("r.src~").c_str(), 0444);
         Lock(box.Path("h.src~"), LOCK_SH, fds);
       },
       {"d.src", "r.src", "h.src"}, Steps("d.src", 2, Refused("save", "d.src~")) +
           Steps("r.src", 2, Refused("save", "r.src~")) +
           Steps("h.src", 2, Refused("save", "h.src~")),
       {{"d.src", src}, {"r.src", src}, {"r.src~", src}, {"h.src~", src}}},
      // The backup cut short: the source is not touched.
      {Files({{"a.src", src}}), {"a.src"},
       Steps("a.src", 2, "Can not save file \"a.src~\". Message: Stream-Write-Fehler"),
       {{"a.src", src}}, 0, {.file_size_limit = 10}},
      // A read-only source keeps its content.
      {[&](const Sandbox& box, std::vector<int>&) {
         box.WriteFile("a.src", src);
         ::chmod(box.Path("a.src").c_str(), 0444);
       },
       {"a.src"}, Steps("a.src", 4, Refused("save", "a.src")), {{"a.src", src}, {"a.src~", src}}},
      // The result cut short: the backup is complete.
      {Files({{"a.src", src}}), {"a.src"},
       Steps("a.src", 4, "Can not save file \"a.src\". Message: Stream-Write-Fehler"),
       {{"a.src~", src}}, 0, {.file_size_limit = src.size()}},
      // A directory in place of the configuration: nothing is formatted.
      {[=](const Sandbox& box, std::vector<int>&) {
         box.SetIni(std::nullopt);
         fs::create_directory(box.Path(ini));
         box.WriteFile("a.src", src);
       },
       {"a.src", "b.src"}, {}, {{"a.src", src}, {"a.src~", "<missing>"}}},
      // The configuration held by another program, or unreadable (/proc/self/mem
      // passes as a regular file, but reading it from its start fails).
      {[=](const Sandbox& box, std::vector<int>& fds) { Lock(box.Path(ini), LOCK_EX, fds); },
       {"a.src"},
       {"Error: Exception while reading from config file \"{ini}\". Message: Datei {ini} "
        "kann nicht ge\xC3\xB6" "ffnet werden"}, {}},
      {[=](const Sandbox& box, std::vector<int>&) {
         box.SetIni(std::nullopt);
         fs::create_symlink("/proc/self/mem", box.Path(ini));
       },
       {"a.src"},
       {"Error: Exception while reading from config file \"{ini}\". Message: Stream-Read-Fehler"},
       {}},
      // Indentation beyond 32 bits ends the run, the file whole.
      {[](const Sandbox& box, std::vector<int>&) {
         box.SetIni("[Indent]\nIndentWidth=$80000000\n");
         box.WriteFile("a.src", "x\nEND\ny\n");
       },
       {"a.src", "b.src"}, Steps("a.src", 3, "Out of memory: Zu wenig Arbeitsspeicher"),
       {{"a.src", "x\nEND\ny\n"}, {"a.src~", "x\r\nEND\r\ny\r\n"}}, 1}};
  // clang-format on
  for (const Outcome& outcome : outcomes) {
    Sandbox box;
    box.SetIni("[Spacing]\nSpacingOperators=0\n");
    std::vector<int> held;
    outcome.setup(box, held);
    const RunResult run = box.Run(outcome.args, outcome.options);
    for (int fd : held) ::close(fd);
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
