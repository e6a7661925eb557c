// The fast pipeline equal to the step-by-step forms over the whole input,
// with every other property of formatting. Fuzzed with small inputs, since
// the step-by-step forms are quadratic on long lines; the test suite replays
// it over every sample program whole.
#include <cstddef>
#include <cstdint>

#include "fuzz/format_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornette::CheckFormatProperties(data, size, size);
  return 0;
}
