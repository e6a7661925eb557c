#include "settings_discovery/ignore_matcher.h"

#include <gtest/gtest.h>

#include "settings_discovery/ignore_files.h"
#include "tests/memory_env.h"

namespace vornette {
namespace {

// Every answer is git's (`git -c core.ignorecase=true check-ignore --no-index
// -v PATH` with the same lines in .gitignore files): the deciding
// "file:line:pattern", a "!" pattern re-including, or nothing. A path
// ending with "/" is a folder.
TEST(IgnoreFiles, AnswerAsGit) {
  MemoryEnv env;
  env.files["/.vornetteignore"] = "not/\n";  // above the folder at work: counts too
  env.files["/work/.vornetteignore"] =
      "# vendor files\nR1/System/\n/STEU/Mada/\n**/Template/**\n*.SRC\n!cell.src\nR1/TP/*\n"
      "!R1/TP/keep/\n\\#hash.src\ntrailing.src   \nkept\\ .src\n[A-C]x.dat\n**/Mada\n!R1/Mada/\n"
      "R1/**/deep.dat\nWork/**/"
      "*.sub\n\\!bang.sub\nab*\n[[:digit:]]*.dat\nlst[!0-9].dat\nbad[.dat\n";
  env.files["/work/R1/.vornetteignore"] = "!System/bas.src\r\n*.dat\r\n!keep.dat\r\nx/\r\n";
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      // A file below an ignored folder stays ignored; letter case never matters.
      {"R1/System/bas.src", ".vornetteignore:2:R1/System/"}, {"R1/system/BAS.src", ".vornetteignore:2:R1/System/"},
      {"R1/System/sub/a.dat", ".vornetteignore:2:R1/System/"},
      // Anchored, and "**" in front, behind and between.
      {"STEU/Mada/x.dat", ".vornetteignore:13:**/Mada"}, {"A/STEU/Mada/x.dat", ".vornetteignore:13:**/Mada"},
      {"C/KRC/Roboter/Template/a.dat", ".vornetteignore:4:**/Template/**"},
      {"Template/x.sub", ".vornetteignore:4:**/Template/**"},
      {"Work/a.sub", ".vornetteignore:16:Work/**/*.sub"}, {"Work/p/q/a.SUB", ".vornetteignore:16:Work/**/*.sub"},
      {"R1/a/b/deep.dat", "R1/.vornetteignore:2:*.dat"},
      // The last matching line decides; "!" re-includes, also a folder.
      {"prog.src", ".vornetteignore:5:*.SRC"}, {"Cell.SRC", ".vornetteignore:6:!cell.src"},
      {"R1/TP/a.sub", ".vornetteignore:7:R1/TP/*"}, {"R1/tp/KEEP/b.sub", ""}, {"R1/Mada/m.sub", ""},
      // Escapes and trailing blanks.
      {"#hash.src", ".vornetteignore:9:\\#hash.src"}, {"hash.src", ".vornetteignore:5:*.SRC"},
      {"trailing.src", ".vornetteignore:10:trailing.src"}, {"trailing.src ", ""},
      {"kept .src", ".vornetteignore:11:kept\\ .src"}, {"!bang.sub", ".vornetteignore:17:\\!bang.sub"},
      {"bang.sub", ""},
      // Classes, as git reads them; one never closed matches nothing.
      {"bx.dat", ".vornetteignore:12:[A-C]x.dat"}, {"Dx.dat", ""}, {"ABX.sub", ".vornetteignore:18:ab*"},
      {"7zip.dat", ".vornetteignore:19:[[:digit:]]*.dat"}, {"lstx.dat", ".vornetteignore:20:lst[!0-9].dat"},
      {"lst7.dat", ""}, {"bad[.dat", ""},
      // A deeper file decides over one above; "x/" only takes folders.
      {"R1/keep.dat", "R1/.vornetteignore:3:!keep.dat"}, {"R1/x/Mada/m.sub", "R1/.vornetteignore:4:x/"},
      {"R1/x", ""}, {"R1/x/", "R1/.vornetteignore:4:x/"}, {"/not/a.src", "/.vornetteignore:1:not/"}};
  // clang-format on
  IgnoreFiles files(env);
  for (const auto& [path, answer] : rows) {
    IgnoreVerdict verdict;
    std::string error;
    const bool folder = path.ends_with('/');
    ASSERT_TRUE(
        files.Check(folder ? path.substr(0, path.size() - 1) : path, folder, &verdict, &error));
    const std::string file =
        verdict.file.starts_with("/work/") ? verdict.file.substr(6) : verdict.file;
    EXPECT_EQ(verdict.file.empty()
                  ? ""
                  : file + ":" + std::to_string(verdict.line) + ":" + verdict.pattern,
              answer)
        << path;
    EXPECT_EQ(verdict.ignored, !answer.empty() && answer.find(":!") == std::string::npos) << path;
  }
  env.read_failures["/work/R1/.vornetteignore"] = FileResult::kReadFailed;
  IgnoreVerdict verdict;
  std::string error;
  EXPECT_FALSE(IgnoreFiles(env).Check("R1/a.src", false, &verdict, &error));
  EXPECT_EQ(error, "cannot read /work/R1/.vornetteignore");
}

}  // namespace
}  // namespace vornette
