#include "basic/byte_buffer.h"

#include <gtest/gtest.h>

#include "basic/byte_scan.h"

namespace vornette {
namespace {

TEST(ByteBufferTest, GrowsReleasesAndKeepsItsBytes) {
  // Appends that cross every growth step, up to the huge-page blocks.
  ByteBuffer buffer;
  buffer.Append("x");
  std::string expected = "x";
  for (size_t size : {0, 1, 62, 1, 200, 4000, 1 << 20, 3 << 20}) {
    const std::string piece(size, static_cast<char>('a' + expected.size() % 26));
    buffer.Append(piece);
    buffer.Append(2, '\n');
    expected += piece + "\n\n";
    ASSERT_EQ(buffer.view(), expected);
    ASSERT_GE(buffer.capacity(), buffer.size());
  }
  ByteBuffer moved = std::move(buffer);
  EXPECT_EQ(moved.view(), expected);
  // Released memory is gone: the next Reserve must take new memory.
  moved.Release();
  EXPECT_EQ(moved.capacity(), 0u);
  moved.Reserve(10);
  moved.Append("0123456789");
  moved.Resize(4);
  EXPECT_EQ(moved.view(), "0123");
  // The smallest huge-page block is given back as it was taken (under
  // AddressSanitizer a mismatch would show).
  ByteBuffer().Reserve(size_t{1} << 20);
  volatile size_t wrapping = SIZE_MAX;  // unknown to the compiler, as a size from a file is
  EXPECT_THROW(moved.Append(wrapping, 'x'), std::bad_alloc);
  moved.Resize(5000);  // beyond the capacity: it must grow
  EXPECT_GE(moved.capacity(), 5000u);
  EXPECT_EQ(moved.view().substr(0, 4), "0123");
}

TEST(ByteScanTest, HasByteBetweenLooksAtExactlyItsBytes) {
  for (size_t n = 0; n <= 17; ++n) {
    std::string bytes(n + 1, '.');
    bytes[n] = 'q';  // just past the end: never seen
    EXPECT_FALSE(HasByteBetween(bytes.data(), n, 'a', 'z')) << n;
    if (n == 0) continue;
    bytes[n - 1] = n % 2 ? 'a' : 'z';  // the bounds belong to the range
    EXPECT_TRUE(HasByteBetween(bytes.data(), n, 'a', 'z')) << n;
  }
}

}  // namespace
}  // namespace vornette
