// vornette-format run in scratch folders, as editors, hooks and CI run it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "tests/run_program.h"
#include "vornette/vornette.h"

namespace vornette::testing {
namespace {

namespace fs = std::filesystem;

const std::string kRaw = "def a()\nx=1\nend\n";
const std::string kDone = "DEF A()\r\n  X = 1\r\nEND\r\n";

class FormatProgramTest : public ::testing::Test {
 protected:
  FormatProgramTest() : box_(VORNETTE_FORMAT_BINARY) {
    fs::create_directories(box_.Path("p/sub/.hidden"));
    for (std::string name : {"p/a.src", "p/sub/B.DAT", "p/sub/c.Sub", "p/sub/.hidden/h.src"}) {
      box_.WriteFile(name, kRaw);
    }
    box_.WriteFile("p/done.src", kDone);
    box_.WriteFile("p/notes.txt", kRaw);
  }
  Sandbox box_;
};

TEST_F(FormatProgramTest, ModesAndExitStatus) {
  const std::string diff =
      "--- a/p/a.src\n+++ b/p/a.src\n@@ -1,3 +1,3 @@\n-def a()\n-x=1\n-end\n"
      "+DEF A()\r\n+  X = 1\r\n+END\r\n";
  const std::string krl = "def a()\nif x then\ny=1\nendif\nz=2\nend\n", lf = "x=1\ry=2\nz=3\r\nw=4";
  // The arguments, standard input, the output, the start of the errors, the status.
  using Case = std::tuple<std::vector<std::string>, std::string, std::string, std::string, int>;
  // clang-format off
  const Case cases[] = {
      {{}, "if a==1 then", "IF A == 1 THEN\r\n", "", 0},
      {{"-", "p/a.src"}, kRaw, kDone + kDone, "", 0},
      {{"--check", "p"}, "", "p/a.src\np/sub/B.DAT\np/sub/c.Sub\n", "", 1},
      {{"--check", "./p/./sub"}, "", "p/sub/B.DAT\np/sub/c.Sub\n", "", 1},
      {{"--check", "p/done.src", "--stdin-filename", "in.src"}, kDone, "", "", 0},
      {{"--check", "--stdin-filename=in.src"}, kRaw, "in.src\n", "", 1},
      {{"--diff", "p/a.src", "p/done.src"}, "", diff, "", 1}, {{"--diff", "p/done.src"}, "", "", "", 0},
      {{"--diff", "./p/./a.src"}, "", diff, "", 1},
      // Two hunks, the second after unchanged lines.
      {{"--diff", "--stdin-filename=in.src"}, "x=1\r\nA\r\nA\r\nA\r\nA\r\nA\r\nA\r\nA\r\ny=2\r\n",
       "--- a/in.src\n+++ b/in.src\n@@ -1,4 +1,4 @@\n-x=1\r\n+X = 1\r\n A\r\n A\r\n A\r\n"
       "@@ -6,4 +6,4 @@\n A\r\n A\r\n A\r\n-y=2\r\n+Y = 2\r\n", "", 1},
      {{"--bogus", "p/a.src"}, "", "", "vornette-format: unknown option --bogus\n", 2},
      {{"--check", "--diff"}, "", "", "vornette-format: choose only one of", 2},
      {{"--check", "gone.src", "p/a.src"}, "", "p/a.src\n", "gone.src: no such file or folder\n", 2},
      {{"--config", "none.ini", "p/a.src"}, "", "", "p/a.src: cannot read its configuration file none.ini\n", 2},
      {{"--check"}, std::string("x\0y", 3), "", "<stdin>: the text holds a NUL byte", 2},
      {{"--check", "--", "-x.src"}, "", "", "-x.src: no such file or folder\n", 2},
      {{"--version"}, "", "vornette-format " + std::string(kVersion) + "\n", "", 0},
      // Line ranges: one file, standard input too; only the range counts.
      {{"--lines=2:2"}, kRaw, "def a()\n  X = 1\nend\n", "", 0},
      {{"--lines=2:5"}, "def a()\n;vornette:off\nx=1\n;vornette:on\ny=2\nend\n",
       "def a()\n  ;vornette:off\nx=1\n  ;vornette:on\n  Y = 2\nend\n", "", 0},
      // A range that starts at a closing word takes that word's indentation;
      // ranges that touch, overlap, come in any order, or run past the end.
      {{"--lines=4:5", "--lines=3:3"}, krl, "def a()\nif x then\n    Y = 1\n  ENDIF\n  Z = 2\nend\n", "", 0},
      {{"--lines=5:9", "--lines=2:3", "--lines=4:4"}, krl,
       "def a()\n  IF X THEN\n    Y = 1\n  ENDIF\n  Z = 2\nEND\n", "", 0},
      // Every line end stays, a missing last one too; a line that would empty
      // behind a lone CR keeps its text; an emptied last line goes.
      {{"--lines=1:4"}, "def a()\r\nx=1\ry=2\nz=3", "DEF A()\r\n  X = 1\r  Y = 2\n  Z = 3", "", 0},
      {{"--lines=1:4"}, "a\r  \nb\r\n  \n", "A\r  \nB\r\n\n", "", 0}, {{"--lines=1:2"}, "x\n  ", "X\n", "", 0},
      // Lines as git counts them, where a lone CR ends none.
      {{"--lf-lines=1:1"}, lf, "X = 1\rY = 2\nz=3\r\nw=4", "", 0},
      {{"--lf-lines=2:3"}, lf, "x=1\ry=2\nZ = 3\r\nw = 4", "", 0}, {{"--lf-lines=5:6"}, lf, lf, "", 0},
      {{"--check", "--lines", "3:3", "--lf-lines", "9:9", "p/a.src"}, "", "p/a.src\n", "", 1},
      {{"--check", "--lines", "9:12", "p/a.src"}, "", "", "", 0},
      {{"--lines", "1:1", "p"}, "", "", "vornette-format: --lines and --lf-lines work on exactly one file\n", 2},
      {{"--lines", "1:1", "p/a.src", "p/done.src"}, "", "", "vornette-format: --lines and", 2},
      {{"--lines", "0:2", "p/a.src"}, "", "", "vornette-format: --lines wants A:B", 2},
      {{"--lf-lines", "3:2"}, "", "", "vornette-format: --lf-lines wants A:B", 2},
      {{"--lines", "1-2"}, "", "", "vornette-format: --lines wants A:B", 2},
      // Block warnings: --check and --diff print them, the filter and -i
      // only when asked; as errors they make the status 1, and 2 still wins.
      {{}, "IF x\n", "IF X\r\n", "", 0},
      {{"--warnings"}, "IF x\n", "IF X\r\n", "<stdin>:1:1: warning: IF is never closed\n", 0},
      {{"--check", "--stdin-filename=w.src"}, "IF X\r\n", "", "w.src:1:1: warning: IF is never closed\n", 0},
      {{"--diff", "--warnings-as-errors"}, "ENDIF\r\n", "", "<stdin>:1:1: warning: ENDIF closes no open block\n", 1},
      {{"-i", "--warnings-as-errors"}, "ENDIF\r\n", "ENDIF\r\n", "<stdin>:1:1: warning: ENDIF closes no", 1},
      {{"--check", "--warnings-as-errors", "gone.src", "-"}, "ENDIF\r\n", "", "gone.src: no such file or "
       "folder\n<stdin>:1:1: warning: ENDIF closes no open block\n", 2},
      // With line ranges, only the warnings on the chosen lines.
      {{"--warnings", "--lines=3:3", "--lines=2:2"}, "IF x\nENDFOR\nENDLOOP\nENDWHILE\n", "IF x\nENDFOR\nENDLOOP\nENDWHILE\n",
       "<stdin>:2:1: warning: ENDFOR closes no open block\n<stdin>:3:1: warning: ENDLOOP closes no open block\n", 0},
      {{"--warnings", "--lf-lines=1:1"}, "ENDIF\rENDFOR\nENDLOOP", "ENDIF\rENDFOR\nENDLOOP",
       "<stdin>:1:1: warning: ENDIF closes no open block\n<stdin>:2:1: warning: ENDFOR closes no open block\n", 0}};
  // clang-format on
  for (const auto& [args, input, output, errors, status] : cases) {
    RunOptions options;
    options.input = input;
    const RunResult run = box_.Run(args, options);
    EXPECT_EQ(run.output, output) << args.size() << " " << run.errors;
    EXPECT_TRUE(errors.empty() ? run.errors.empty() : run.errors.starts_with(errors)) << run.errors;
    EXPECT_EQ(run.exit_status, status) << output;
  }
  EXPECT_EQ(box_.ReadFile("p/a.src"), kRaw);  // nothing but -i changes a file
}

// Files a .vornetteignore leaves out: skipped in a walk and when named,
// written out unchanged by the filter, all formatted with --no-ignore; one
// that cannot be read fails the files it decides.
TEST_F(FormatProgramTest, IgnoredFiles) {
  box_.WriteFile("p/.vornetteignore", "SUB/\na.SRC\n");
  const std::string ignored = std::string("; p/a.src: ignored by p") + (kOnWindows ? "\\" : "/") +
                              ".vornetteignore:2: a.SRC\n";
  // clang-format off
  const std::tuple<std::vector<std::string>, std::string, std::string, std::string, int> cases[] = {
      {{"--check", "p"}, "", "", "", 0}, {{"--check", "p/a.src", "p/sub/B.DAT"}, "", "", "", 0},
      {{"p/a.src"}, "", kRaw, "", 0}, {{"--stdin-filename", "p/sub/x.src"}, "x=1", "x=1", "", 0},
      {{"--no-ignore", "--check", "p"}, "", "p/a.src\np/sub/B.DAT\np/sub/c.Sub\n", "", 1},
      {{"--print-config", "p/a.src"}, "", ignored, "", 0}};
  // clang-format on
  for (const auto& [args, input, output, errors, status] : cases) {
    RunOptions options;
    options.input = input;
    const RunResult run = box_.Run(args, options);
    EXPECT_TRUE(output.empty() ? run.output.empty() : run.output.find(output) != std::string::npos)
        << args[0] << " " << run.output;
    EXPECT_EQ(run.errors, errors);
    EXPECT_EQ(run.exit_status, status) << args[0];
  }
  HeldFile held(box_.Path("p/.vornetteignore"), false);
  const RunResult run = box_.Run({"--check", "p/a.src"});
  EXPECT_EQ(run.errors, "p/a.src: cannot read " + box_.Path("p/.vornetteignore") + "\n");
  EXPECT_EQ(run.exit_status, 2);
}

TEST_F(FormatProgramTest, InPlaceRewritesOnlyWhatChanges) {
  fs::permissions(box_.Path("p/a.src"), fs::perms(0640));
  box_.WriteFile("p/ro.src", kRaw);
  fs::permissions(box_.Path("p/ro.src"), fs::perms::owner_write, fs::perm_options::remove);
  const auto old_time = fs::last_write_time(box_.Path("p/done.src")) - std::chrono::hours(1);
  fs::last_write_time(box_.Path("p/done.src"), old_time);
  const RunResult run = box_.Run({"-i", "--backup", "p"});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_TRUE(run.errors.starts_with("p/ro.src: cannot be written")) << run.errors;
  for (std::string name : {"p/a.src", "p/sub/B.DAT", "p/sub/c.Sub"}) {
    EXPECT_EQ(box_.ReadFile(name), kDone) << name;
    EXPECT_EQ(box_.ReadFile(name + "~"), kRaw) << name;
  }
  EXPECT_TRUE(kOnWindows || fs::status(box_.Path("p/a.src")).permissions() == fs::perms(0640));
  EXPECT_EQ(fs::last_write_time(box_.Path("p/done.src")), old_time);
  EXPECT_EQ(box_.ReadFile("p/done.src~"), "<missing>");
  EXPECT_EQ(box_.ReadFile("p/ro.src"), kRaw);
  EXPECT_EQ(box_.ReadFile("p/sub/.hidden/h.src"), kRaw);
}

// Also with the files' own line ends, where a last line of blanks goes.
TEST_F(FormatProgramTest, DiffAppliesWithPatch) {
  if (kOnWindows) GTEST_SKIP() << "patch is a POSIX tool";
  for (std::string ini : {"", "[Output]\nLineEnding=Auto"}) {
    box_.WriteFile("p/Vornette.ini", ini);
    box_.WriteFile("p/ends.src", "a=1\r\nb=2\rc=3\n\nif x\n1\n2\n3\n4\n5\n6\n7\n8\nendif");
    box_.WriteFile("p/cr.src", "x=1\ry=2\r");
    box_.WriteFile("p/lf.src", "if x\ny=2\nendif\n  ");
    box_.WriteFile("p/my prog.src", "x=1\n");
    const RunResult run = box_.Run({"--diff", "p"});
    box_.WriteFile("d.patch", run.output);
    const std::string patch = "cd " + box_.Path("") + " && patch -s -p1 < d.patch";
    ASSERT_EQ(std::system(patch.c_str()), 0) << run.output;
    EXPECT_EQ(box_.Run({"--check", "p"}).exit_status, 0);
    EXPECT_EQ(box_.ReadFile("p/lf.src"),
              ini.empty() ? "if x\r\n  y = 2\r\nendif\r\n\r\n" : "if x\n  y = 2\nendif\n");
  }
}

TEST_F(FormatProgramTest, SettingsComeFromTheNearestFile) {
  box_.WriteFile("p/Vornette.ini", "[Indent]\nIndentWidth=3");
  box_.WriteFile("p/sub/Vornette.ini", "[Indent]\nIndentWidth=4");
  auto source = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "--print-config");
    const std::string printed = box_.Run(args).output;
    return printed.substr(0, printed.find('\n'));
  };
  const std::string from = ": settings from ";
  EXPECT_EQ(source({"p/sub/x.src"}), "; p/sub/x.src" + from + box_.Path("p/sub/Vornette.ini"));
  const std::string absolute = box_.Path("p/sub/x.src");
  EXPECT_EQ(source({absolute}), "; " + absolute + from + box_.Path("p/sub/Vornette.ini"));
  EXPECT_EQ(source({"p/a.src"}), "; p/a.src" + from + box_.Path("p/Vornette.ini"));
  EXPECT_EQ(source({"--stdin-filename", "p/sub/.hidden/x"}),
            "; p/sub/.hidden/x" + from + box_.Path("p/sub/Vornette.ini"));
  EXPECT_EQ(source({"--config", "p/Vornette.ini", "p/sub/x"}),
            "; p/sub/x" + from + "p/Vornette.ini");
  EXPECT_NE(box_.Run({"--print-config", "--config=p/Vornette.ini"}).output.find("IndentWidth=3\n"),
            std::string::npos);
  box_.SetIni("[Indent]\nIndentWidth=5");
  EXPECT_EQ(source({"x.src"}), "; x.src" + from + box_.Path("bin/Vornette.ini"));
  box_.SetIni(std::nullopt);
  EXPECT_EQ(source({}), "; <stdin>" + from + "built-in defaults");
  EXPECT_TRUE(
      box_.Run({"--help"}).output.starts_with("Usage: vornette-format [options] [PATH ...]"));
}

}  // namespace
}  // namespace vornette::testing
