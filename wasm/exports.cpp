#include "wasm/exports.h"

#include <string>
#include <string_view>

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

void vornette_normalize_ini(const char* ini, size_t ini_size) {
  result = vornette::SettingsToIni(vornette::SettingsFromIni(Bytes(ini, ini_size)));
}

const char* vornette_result_data() { return result.data(); }

size_t vornette_result_size() { return result.size(); }
}
