#include "basic/byte_buffer.h"

#include <cstdlib>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vornette {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

constexpr size_t kAligned = kHugePage / 2;  // from this capacity on

char* Allocate(size_t* capacity) {
  if (*capacity < kAligned) {
    void* memory = std::malloc(*capacity);
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<char*>(memory);
  }
  // Whole, aligned huge pages, so the system may back them with huge pages.
  const size_t rounded = (*capacity + kHugePage - 1) / kHugePage * kHugePage;
  if (rounded < *capacity) throw std::bad_alloc();
  void* memory = ::operator new (rounded, std::align_val_t{kHugePage});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
  *capacity = rounded;
  return static_cast<char*>(memory);
}

// Gives back memory that Allocate gave for `capacity` bytes.
void Free(char* memory, size_t capacity) {
  if (capacity < kAligned) {
    std::free(memory);
  } else {
    ::operator delete (memory, std::align_val_t{kHugePage});
  }
}

}  // namespace

void ByteBuffer::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  char* memory = Allocate(&capacity);
  if (size_ > 0) std::memcpy(memory, data_, size_);
  Free(data_, capacity_);
  data_ = memory;
  capacity_ = capacity;
}

void ByteBuffer::Grow(size_t more) {
  const size_t needed = size_ + more;
  if (needed < size_) throw std::bad_alloc();
  size_t capacity = capacity_ + capacity_ / 2;
  if (capacity < needed) capacity = needed;
  if (capacity < 64) capacity = 64;
  Reserve(capacity);
}

void ByteBuffer::Release() {
  Free(data_, capacity_);
  data_ = nullptr;
  size_ = 0;
  capacity_ = 0;
}

}  // namespace vornette
