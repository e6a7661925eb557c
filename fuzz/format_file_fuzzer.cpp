// Whole files of any size under drawn settings, with the step-by-step
// forms on the first lines only, so that large inputs stay cheap.
#include <cstddef>
#include <cstdint>

#include "fuzz/format_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornette::CheckFormatProperties(data, size, 128);
  return 0;
}
