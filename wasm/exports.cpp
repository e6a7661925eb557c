#include "wasm/exports.h"

#include <string>
#include <string_view>
#include <vector>

#include "vornette/vornette.h"

namespace {

// One result at a time: the page copies it out before the next call.
std::string result;

std::string_view Bytes(const char* data, size_t size) {
  return size == 0 ? std::string_view() : std::string_view(data, size);
}

}  // namespace

extern "C" {

const char* vornette_version() {
  static const std::string version(vornette::kVersion);
  return version.c_str();
}

int vornette_format(const char* bytes, size_t size, const char* ini, size_t ini_size) {
  std::string error;
  result.clear();
  result.shrink_to_fit();  // a large earlier result must not be held twice
  const vornette::FormatterSettings settings = vornette::SettingsFromIni(Bytes(ini, ini_size));
  if (vornette::FormatText(Bytes(bytes, size), settings, &result, &error)) return 1;
  result = error;
  return 0;
}

int vornette_check_blocks(const char* bytes, size_t size, const char* ini, size_t ini_size) {
  std::vector<vornette::BlockWarning> warnings;
  std::string error;
  result.clear();
  const vornette::FormatterSettings settings = vornette::SettingsFromIni(Bytes(ini, ini_size));
  if (!vornette::CheckBlocks(Bytes(bytes, size), settings, &warnings, &error)) {
    result = error;
    return 0;
  }
  for (const vornette::BlockWarning& warning : warnings) {
    const vornette::TextSpan& at = warning.at;
    for (size_t number :
         {at.line, at.column, at.offset, at.length, static_cast<size_t>(warning.kind),
          warning.closer ? warning.closer->line : size_t{0}}) {
      result.append(std::to_string(number)).push_back('\t');
    }
    result.append(warning.text).push_back('\n');
  }
  return 1;
}

void vornette_normalize_ini(const char* ini, size_t ini_size) {
  result = vornette::SettingsToIni(vornette::SettingsFromIni(Bytes(ini, ini_size)));
}

const char* vornette_result_data() { return result.data(); }

size_t vornette_result_size() { return result.size(); }
}
