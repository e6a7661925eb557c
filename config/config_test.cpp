#include "config/config.h"

#include <gtest/gtest.h>

#include "tests/memory_env.h"

namespace vornette {
namespace {

constexpr char kIniPath[] = "/opt/vornette/Vornette.ini";
constexpr auto U = CapitalizationMode::UpperCase;
constexpr auto L = CapitalizationMode::LowerCase;
constexpr auto N = CapitalizationMode::None;

TEST(ParseIntegerOrDefaultTest, ValueTable) {
  // clang-format off
  const std::pair<std::string_view, int32_t> cases[] = {
      {"4", 4}, {"0x10", 16}, {"0X10", 16}, {"$10", 16}, {"x10", 16}, {"X10", 16}, {"$0010", 16},
      {"-3", -3}, {"+3", 3}, {"007", 7}, {"   5", 5}, {"0", 0}, {"-0", 0}, {"$fF", 255},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"$FFFFFFFF", -1},
      {"$80000000", -2147483647 - 1}, {"00000000000000000000012", 12}, {"$000000000FF", 255},
      // Everything else gives the default.
      {"", 2}, {"4.0", 2}, {"4 x", 2}, {"- 3", 2}, {"\t5", 2}, {"5 ", 2}, {"2147483648", 2},
      {"-2147483649", 2}, {"$100000000", 2}, {"-0x10", 2}, {"+$10", 2}, {"$", 2}, {"0x", 2},
      {"-", 2}, {"   ", 2}, {"0x1g", 2}, {"1e3", 2}, {"1a", 2}, {"99999999999999999999999", 2}};
  // clang-format on
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ParseIntegerOrDefault(text, 2), value) << "'" << text << "'";
  }
}

TEST(LoadConfigurationTest, ValuesBecomeSettings) {
  const std::string spacing = "[Spacing]\nSpacingOperators=";
  const std::string motion = "[Capitalization]\nCAP_MotionCommandStrings=";
  const std::string all =
      "[Capitalization]\nCAP_ProgramFlowStrings=UpperCase\nCAP_SetupCommandStrings=LowerCase\n"
      "CAP_MotionCommandStrings=UpperCase\nCAP_MathAndFunctionStrings=LowerCase\n"
      "CAP_IOCommandStrings=UpperCase\nCAP_TypeDefinitionStrings=LowerCase\n"
      "CAP_SystemVariableStrings=UpperCase\nCAP_OpusTechFunctionStrings=LowerCase\n";
  using S = FormatterSettings;
  // clang-format off
  const std::pair<std::string, FormatterSettings> cases[] = {
      {"", S{}}, {"[Other]\nIndentWidth=9", S{}}, {spacing + "0", S{false}},
      {spacing + "$0", S{false}}, {spacing + "00", S{false}}, {spacing + "-1", S{true}},
      {spacing + "Off", S{true}}, {spacing + "", S{true}},
      {"[Indent]\nIndentWidth=$10", S{true, 16}}, {"[Indent]\nIndentWidth=-3", S{true, -3}},
      {"[Indent]\nIndentWidth=" + std::string(2046, '0') + "9junk", S{true, 9}},
      {motion + "uppercase", S{true, 2, {N, N, U}}}, {motion + "LOWERCASE", S{true, 2, {N, N, L}}},
      {motion + "\"UpperCase\"", S{true, 2, {N, N, U}}}, {motion + "Lower Case", S{}},
      {motion + "Upper", S{}}, {motion + "UpperCase;", S{}},
      {all, S{true, 2, {U, L, U, L, U, L, U, L}}},
      {"[Indent]\nExtendedBlocks=1\nIndentRoutineBodies=0\nKeepColumnOneComments=$1",
       S{true, 2, {}, true, false, true}},
      {"[Indent]\nExtendedBlocks=0\nIndentRoutineBodies=1\nKeepColumnOneComments=0", S{}},
      {"[Indent]\nExtendedBlocks=yes\nIndentRoutineBodies=\nKeepColumnOneComments=-0", S{}},
      {"[Output]\nLineEnding=lf", S{true, 2, {}, false, true, false, LineEndingMode::LF}},
      {"[Output]\nLineEnding= AUTO ", S{true, 2, {}, false, true, false, LineEndingMode::Auto}},
      {"[Output]\nLineEnding=CRLF", S{}}, {"[Output]\nLineEnding=LF CR", S{}},
      {"[Output]\nLineEnding=Automatic", S{}}, {"[Spacing]\nLineEnding=LF", S{}},
      {"[Spacing]\nTrimTrailingBlanks=1\nAlignAssignments=$1\n[Indent]\nIndentFolds=0",
       S{true, 2, {}, false, true, false, LineEndingMode::CRLF, true, false, true}},
      {"[Spacing]\nTrimTrailingBlanks=on\nAlignAssignments=0\n[Indent]\nIndentFolds=no", S{}}};
  // clang-format on
  for (const auto& [ini, expected] : cases) {
    MemoryEnv env;
    env.files[kIniPath] = ini;
    FormatterSettings settings{!expected.SpacingOperators,
                               7,
                               {L, L, U, L, L, L, L, U},
                               !expected.ExtendedBlocks,
                               !expected.IndentRoutineBodies,
                               !expected.KeepColumnOneComments,
                               LineEndingMode::LF,
                               !expected.TrimTrailingBlanks,
                               !expected.IndentFolds,
                               !expected.AlignAssignments};
    if (expected.LineEnding == LineEndingMode::LF) settings.LineEnding = LineEndingMode::Auto;
    std::string error = "stale";
    ASSERT_TRUE(LoadConfiguration(env, settings, &error)) << ini;
    EXPECT_EQ(error, "");
    EXPECT_TRUE(settings == expected) << ini;
  }
}

TEST(LoadConfigurationTest, MissingOrUnreadable) {
  const std::string failed = "Exception while reading from config file \"";
  const std::string at = failed + kIniPath + "\". Message: ";
  // clang-format off
  const std::pair<std::optional<FileResult>, std::string> cases[] = {
      {std::nullopt, ""}, {FileResult::kReadFailed, at + "Stream-Read-Fehler"},
      {FileResult::kOpenFailed, at + "Datei " + kIniPath + " kann nicht ge\xC3\xB6" "ffnet werden"},
      {FileResult::kNoMemory, at + "Zu wenig Arbeitsspeicher"},
      // The program's own path is unknown: a Vornette.ini elsewhere is no substitute.
      {FileResult::kOk, failed + "Vornette.ini\". Message: Der Pfad des Programms kann nicht ermittelt werden"}};
  // clang-format on
  for (const auto& [failure, message] : cases) {
    MemoryEnv env;
    if (failure) env.files[kIniPath] = env.files["Vornette.ini"] = "[Indent]\nIndentWidth=4\n";
    if (failure && *failure != FileResult::kOk) env.read_failures[kIniPath] = *failure;
    if (failure == FileResult::kOk) env.executable_path = "";
    FormatterSettings settings;
    std::string error = "stale";
    EXPECT_FALSE(LoadConfiguration(env, settings, &error)) << message;
    EXPECT_EQ(error, message);
  }
}

}  // namespace
}  // namespace vornette
