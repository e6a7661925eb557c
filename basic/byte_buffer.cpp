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

char* Allocate(size_t* capacity) {
  if (*capacity < kHugePage / 2) {
    void* memory = std::malloc(*capacity);
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<char*>(memory);
  }
  // Whole, aligned huge pages, so the system may back them with huge pages.
  const size_t rounded = (*capacity + kHugePage - 1) / kHugePage * kHugePage;
  if (rounded < *capacity) throw std::bad_alloc();
  void* memory = std::aligned_alloc(kHugePage, rounded);
  if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
  *capacity = rounded;
  return static_cast<char*>(memory);
}

}  // namespace

void ByteBuffer::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  char* memory = Allocate(&capacity);
  if (size_ > 0) std::memcpy(memory, data_, size_);
  std::free(data_);
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
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
  capacity_ = 0;
}

}  // namespace vornette
