#include "vornette/vornette.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vornette {
namespace {

// Settings from a file; results and failures as values.
TEST(LibraryTest, LoadSettingsAndFormatText) {
  const std::string path = (std::filesystem::temp_directory_path() / "vornette-lib.ini").string();
  std::ofstream(path) << "[Indent]\nIndentWidth=4\n";
  FormatterSettings settings;
  std::string error;
  std::string formatted = "stale";
  ASSERT_TRUE(LoadSettings(path, &settings, &error));
  ASSERT_TRUE(FormatText("def a()\nx=1", settings, &formatted, &error));
  EXPECT_EQ(formatted, "def a()\r\n    x = 1\r\n");
  EXPECT_FALSE(LoadSettings(path + ".missing", &settings, &error));
  EXPECT_EQ(error, "cannot read the configuration file " + path + ".missing");
  // Settings written out read back as themselves; every value differs from its default.
  constexpr auto U = CapitalizationMode::UpperCase, L = CapitalizationMode::LowerCase;
  for (LineEndingMode ending : {LineEndingMode::LF, LineEndingMode::Auto}) {
    const FormatterSettings odd{
        false, -3, {U, L, L, U, U, L, U, L}, true, false, true, ending, true, false, true};
    EXPECT_TRUE(SettingsFromIni(SettingsToIni(odd)) == odd) << SettingsToIni(odd);
  }
  settings.IndentWidth = -2147483647 - 1;  // an END takes the level to -1
  EXPECT_FALSE(FormatText("end\nx", settings, &formatted, &error));
  EXPECT_EQ(error, "out of memory");
}

}  // namespace
}  // namespace vornette
