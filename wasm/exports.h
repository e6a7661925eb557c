// Plain C functions over bytes, for the page that runs the library as
// WebAssembly. Bytes go in through the module's heap (its malloc) and come
// back as a pointer and a size, never through the glue's string conversion,
// which reads and writes UTF-8 and would garble Windows-1252 bytes.
#ifndef VORNETTE_WASM_EXPORTS_H_
#define VORNETTE_WASM_EXPORTS_H_

#include <cstddef>

extern "C" {

// The library's version, as text ending with a NUL.
const char* vornette_version();

// Formats the `size` bytes at `bytes` as vornette-format formats a file
// holding them, by the settings that the INI text at `ini` (`ini_size`
// bytes) gives. 1 with the formatted bytes in the result; 0 with the reason
// in the result (a NUL byte, memory run out).
int vornette_format(const char* bytes, size_t size, const char* ini, size_t ini_size);

// Checks the blocks of the `size` bytes at `bytes` as CheckBlocks does, by
// the settings of the INI text at `ini`. 1 with the warnings in the result,
// one a line as LINE TAB COLUMN TAB OFFSET TAB LENGTH TAB KIND TAB
// CLOSER_LINE (0 for none) TAB TEXT LF, the text in the bytes' own
// encoding; 0 with the reason in the result.
int vornette_check_blocks(const char* bytes, size_t size, const char* ini, size_t ini_size);

// Puts in the result the Vornette.ini text, every key present, that gives
// the settings the INI text at `ini` gives.
void vornette_normalize_ini(const char* ini, size_t ini_size);

// The bytes of the last result, valid until the next call.
const char* vornette_result_data();
size_t vornette_result_size();
}

#endif  // VORNETTE_WASM_EXPORTS_H_
