// What must hold when a file's bytes are formatted, under settings drawn
// from the first four bytes of a fuzz input: one line out per line in, only
// blanks, TABs, letter case and line ends changed, formatting twice the same
// as once, the library's ways in agreement, line ranges equal to the whole
// file's lines, the lines between "; vornette: off" and "on" kept and every
// other line as without the markers, the block warnings inside the file and
// in order, and the
// fast pipeline equal to the step-by-step forms of reference/ on the first
// lines.
#ifndef VORNETTE_FUZZ_FORMAT_PROPERTIES_H_
#define VORNETTE_FUZZ_FORMAT_PROPERTIES_H_

#include <cstddef>
#include <cstdint>

namespace vornette {

// Checks every property of formatting the input `data`; the step-by-step
// forms, quadratic on long lines, take the first lines that fit in
// `reference_bytes`. A broken property aborts.
void CheckFormatProperties(const uint8_t* data, size_t size, size_t reference_bytes);

}  // namespace vornette

#endif  // VORNETTE_FUZZ_FORMAT_PROPERTIES_H_
