// A growable run of bytes for whole files and blocks of lines.
//
// Unlike std::string it never fills memory it is about to overwrite, and it
// asks for large blocks in a way that lets the system back them with huge
// pages: on some machines the first touch of every 4 KB page of fresh memory
// costs more than formatting the bytes in it.
#ifndef VORNETTE_BASIC_BYTE_BUFFER_H_
#define VORNETTE_BASIC_BYTE_BUFFER_H_

#include <cstddef>
#include <cstring>
#include <string_view>

namespace vornette {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ByteBuffer(ByteBuffer&& other) noexcept { Swap(other); }
  ByteBuffer& operator=(ByteBuffer&& other) noexcept {
    ByteBuffer old(std::move(other));
    Swap(old);
    return *this;
  }
  ~ByteBuffer() { Release(); }

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return std::string_view(data_, size_); }

  // Makes room for `capacity` bytes in all, keeping the content. Throws
  // std::bad_alloc when the memory cannot be had.
  void Reserve(size_t capacity);

  // Sets the size; new bytes are left as they are, to be overwritten.
  void Resize(size_t size) {
    if (size > capacity_) Reserve(size);
    size_ = size;
  }

  void Append(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) Grow(bytes.size());
    if (!bytes.empty()) std::memcpy(data_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  void Append(size_t count, char c) {
    if (count > capacity_ - size_) Grow(count);
    std::memset(data_ + size_, c, count);
    size_ += count;
  }

  // Empties the buffer and gives its memory back.
  void Release();

 private:
  void Grow(size_t more);
  void Swap(ByteBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace vornette

#endif  // VORNETTE_BASIC_BYTE_BUFFER_H_
