// Reading a whole file or stream into memory, the same way on every system.
#ifndef VORNETTE_PLATFORM_READ_TO_END_H_
#define VORNETTE_PLATFORM_READ_TO_END_H_

#include <cstddef>
#include <new>

#include "basic/byte_buffer.h"
#include "basic/file_result.h"

namespace vornette {

// Reads to the end into `bytes` (replacing its content) with `read_some(into,
// room)`, which reads at most `room` bytes to `into` and gives their number,
// 0 at the end, or -1 after a failure. The `expected` size is only a guide.
// Room behind the bytes lets the lines be widened and rewritten in place;
// memory that is never touched costs nothing.
template <typename ReadSome>
FileResult ReadToEnd(size_t expected, ByteBuffer* bytes, ReadSome read_some) {
  try {
    bytes->Release();
    bytes->Reserve(expected + expected / 4 + 4096);
  } catch (const std::bad_alloc&) {
    return FileResult::kNoMemory;
  }
  while (true) {
    if (bytes->size() == bytes->capacity()) bytes->Reserve(bytes->capacity() * 2);
    const long long got =
        read_some(bytes->data() + bytes->size(), bytes->capacity() - bytes->size());
    if (got < 0) return FileResult::kReadFailed;
    if (got == 0) return FileResult::kOk;
    bytes->Resize(bytes->size() + static_cast<size_t>(got));
  }
}

}  // namespace vornette

#endif  // VORNETTE_PLATFORM_READ_TO_END_H_
