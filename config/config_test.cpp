#include "config/config.h"

#include <gtest/gtest.h>

#include "tests/memory_env.h"

namespace vornette {
namespace {

constexpr char kIniPath[] = "/opt/vornette/Vornette.ini";

TEST(ParseIntegerOrDefaultTest, ValueTable) {
  struct Case {
    std::string_view text;
    int32_t result;
  };
  const Case cases[] = {
      {"4", 4},
      {"0x10", 16},
      {"0X10", 16},
      {"$10", 16},
      {"x10", 16},
      {"X10", 16},
      {"$0010", 16},
      {"-3", -3},
      {"+3", 3},
      {"007", 7},
      {"", 2},
      {"4.0", 2},
      {"4 blanks", 2},
      {"- 3", 2},
      {"   5", 5},
      {"\t5", 2},
      {"5 ", 2},
      {"2147483647", 2147483647},
      {"2147483648", 2},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", 2},
      {"$FFFFFFFF", -1},
      {"$80000000", -2147483647 - 1},
      {"$100000000", 2},
      {"-0x10", 2},
      {"+$10", 2},
      {"$", 2},
      {"0x", 2},
      {"-", 2},
      {"   ", 2},
      {"0", 0},
      {"-0", 0},
      {"$0", 0},
      {"0x0", 0},
      {"00000000000000000000012", 12},
      {"$0000000000FF", 255},
      {"$fF", 255},
      {"0x1g", 2},
      {"1e3", 2},
      {"٣", 2},
      {"99999999999999999999999", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseIntegerOrDefault(c.text, 2), c.result) << "'" << c.text << "'";
  }
}

TEST(ConfigFilePathTest, DirectoryOfTheProgram) {
  EXPECT_EQ(ConfigFilePathFor("/opt/v/vornette", "/"), "/opt/v/Vornette.ini");
  EXPECT_EQ(ConfigFilePathFor("/a:b/vornette", "/"), "/a:b/Vornette.ini");
  EXPECT_EQ(ConfigFilePathFor("vornette", "/"), "Vornette.ini");
  EXPECT_EQ(ConfigFilePathFor("C:\\Tools\\v.exe", "\\:"), "C:\\Tools\\Vornette.ini");
  EXPECT_EQ(ConfigFilePathFor("C:v.exe", "\\:"), "C:\\Vornette.ini");
}

class LoadConfigurationTest : public ::testing::Test {
 protected:
  bool Load(std::string_view ini) {
    env_.files[kIniPath] = std::string(ini);
    ConsoleLog log(env_);
    return LoadConfiguration(env_, log, settings_);
  }
  MemoryEnv env_;
  FormatterSettings settings_;
};

TEST_F(LoadConfigurationTest, FlagValues) {
  struct Case {
    std::string_view value;
    bool spacing;
  };
  const Case cases[] = {{"0", false}, {"00", false}, {"-0", false}, {"$0", false}, {"0x0", false},
                        {"1", true},  {"-1", true},  {"7", true},   {"$1", true},  {"False", true},
                        {"No", true}, {"Off", true}, {"", true}};
  for (const Case& c : cases) {
    settings_.SpacingOperators = !c.spacing;
    ASSERT_TRUE(Load("[Spacing]\nSpacingOperators=" + std::string(c.value) + "\n"));
    EXPECT_EQ(settings_.SpacingOperators, c.spacing) << c.value;
  }
}

TEST_F(LoadConfigurationTest, ModeWords) {
  struct Case {
    std::string_view value;
    CapitalizationMode mode;
  };
  const Case cases[] = {
      {"UpperCase", CapitalizationMode::UpperCase},
      {"uppercase", CapitalizationMode::UpperCase},
      {"lowercase", CapitalizationMode::LowerCase},
      {"LOWERCASE", CapitalizationMode::LowerCase},
      {"Lower", CapitalizationMode::None},
      {"Lower Case", CapitalizationMode::None},
      {"None", CapitalizationMode::None},
      {"Upper", CapitalizationMode::None},
      {"\"UpperCase\"", CapitalizationMode::UpperCase},
      {"UpperCase;", CapitalizationMode::None},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load("[Capitalization]\nCAP_MotionCommandStrings=" + std::string(c.value)));
    EXPECT_EQ(settings_.ModeOf(KeywordCategory::MotionCommand), c.mode) << c.value;
    EXPECT_EQ(settings_.ModeOf(KeywordCategory::ProgramFlow), CapitalizationMode::None);
  }
}

TEST_F(LoadConfigurationTest, EveryKeyReachesItsField) {
  ASSERT_TRUE(
      Load("[Spacing]\nSpacingOperators=0\n[Indent]\nIndentWidth=$10\n[Capitalization]\n"
           "CAP_ProgramFlowStrings=UpperCase\nCAP_SetupCommandStrings=LowerCase\n"
           "CAP_MotionCommandStrings=UpperCase\nCAP_MathAndFunctionStrings=LowerCase\n"
           "CAP_IOCommandStrings=UpperCase\nCAP_TypeDefinitionStrings=LowerCase\n"
           "CAP_SystemVariableStrings=UpperCase\nCAP_OpusTechFunctionStrings=LowerCase\n"));
  EXPECT_FALSE(settings_.SpacingOperators);
  EXPECT_EQ(settings_.IndentWidth, 16);
  for (size_t i = 0; i < kKeywordCategoryCount; ++i) {
    EXPECT_EQ(settings_.Capitalization[i],
              i % 2 == 0 ? CapitalizationMode::UpperCase : CapitalizationMode::LowerCase)
        << i;
  }
}

TEST_F(LoadConfigurationTest, EmptyFileOrMissingSectionsGiveDefaults) {
  for (std::string_view ini : {"", "[Other]\nIndentWidth=9\n", "; nothing\n"}) {
    settings_ = FormatterSettings{false, 7, {}};
    settings_.Capitalization.fill(CapitalizationMode::UpperCase);
    ASSERT_TRUE(Load(ini));
    EXPECT_TRUE(settings_.SpacingOperators);
    EXPECT_EQ(settings_.IndentWidth, 2);
    for (CapitalizationMode mode : settings_.Capitalization) {
      EXPECT_EQ(mode, CapitalizationMode::None);
    }
  }
  EXPECT_EQ(env_.ConsoleLines().size(), 0u);
}

TEST_F(LoadConfigurationTest, LongValueIsJudgedByItsFirst2047Characters) {
  ASSERT_TRUE(Load("[Indent]\nIndentWidth=" + std::string(2046, '0') + "9" + "junk"));
  EXPECT_EQ(settings_.IndentWidth, 9);
  ASSERT_TRUE(Load("[Indent]\nIndentWidth=" + std::string(3000, '0') + "9"));
  EXPECT_EQ(settings_.IndentWidth, 0);
}

TEST_F(LoadConfigurationTest, MissingFileOrDirectoryIsSilent) {
  ConsoleLog log(env_);
  EXPECT_FALSE(LoadConfiguration(env_, log, settings_));
  env_.directories.insert(kIniPath);
  EXPECT_FALSE(LoadConfiguration(env_, log, settings_));
  log.Flush();
  EXPECT_EQ(env_.stdout_text, "");
}

TEST_F(LoadConfigurationTest, ReadFailureIsReportedAndStopsTheReads) {
  struct Case {
    FileResult failure;
    std::string_view message;
  };
  const Case cases[] = {
      {FileResult::kOpenFailed,
       "Datei /opt/vornette/Vornette.ini kann nicht ge\xC3\xB6"
       "ffnet werden"},
      {FileResult::kReadFailed, "Stream-Read-Fehler"},
      {FileResult::kNoMemory, "Zu wenig Arbeitsspeicher"},
  };
  for (const Case& c : cases) {
    MemoryEnv env;
    env.files[kIniPath] = "[Indent]\nIndentWidth=4\n";
    env.read_failures[kIniPath] = c.failure;
    {
      ConsoleLog log(env);
      EXPECT_FALSE(LoadConfiguration(env, log, settings_));
    }
    EXPECT_EQ(env.ConsoleLines(),
              std::vector<std::string>{"Error: Exception while reading from config file "
                                       "\"/opt/vornette/Vornette.ini\". Message: " +
                                       std::string(c.message)});
  }
}

}  // namespace
}  // namespace vornette
