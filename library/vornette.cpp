#include "vornette/vornette.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "config/config.h"
#include "formatter/block_check.h"
#include "formatter/line_list.h"
#include "formatter/pipeline.h"

namespace vornette {

FormatterSettings SettingsFromIni(std::string_view ini_text) {
  ConfigReader reader(ini_text);
  FormatterSettings settings;
  ReadSettings(reader, settings);
  return settings;
}

std::string SettingsToIni(const FormatterSettings& settings) { return SettingsIniText(settings); }

bool LoadSettings(const std::string& path, FormatterSettings* settings, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    *error = "cannot read the configuration file " + path;
    return false;
  }
  *settings = SettingsFromIni(text);
  return true;
}

bool FormatTextTo(std::string_view bytes, const FormatterSettings& settings,
                  const std::function<void(std::string_view)>& write, std::string* error) {
  try {
    // Room behind the bytes lets the line ends widen in place.
    ByteBuffer buffer;
    buffer.Reserve(bytes.size() + bytes.size() / 4 + 64);
    buffer.Append(bytes);
    LineList lines;
    if (!CutIntoLines(std::move(buffer), &lines, settings.LineEnding)) {
      *error = "the text holds a NUL byte and is no single-byte text";
      return false;
    }
    const LineList result = FormatLines(std::move(lines), settings);
    for (std::string_view piece : result.WritingFormat()) write(piece);
    return true;
  } catch (const std::bad_alloc&) {
    *error = "out of memory";
    return false;
  }
}

bool FormatText(std::string_view bytes, const FormatterSettings& settings, std::string* formatted,
                std::string* error) {
  formatted->clear();
  return FormatTextTo(
      bytes, settings, [&](std::string_view piece) { formatted->append(piece); }, error);
}

bool CheckBlocks(std::string_view bytes, const FormatterSettings& settings,
                 std::vector<BlockWarning>* warnings, std::string* error) {
  warnings->clear();
  if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
    *error = "the text holds a NUL byte and is no single-byte text";
    return false;
  }
  try {
    *warnings = FindBlockWarnings(bytes, settings);
    return true;
  } catch (const std::bad_alloc&) {
    *error = "out of memory";
    return false;
  }
}

}  // namespace vornette
