#include "basic/byte_buffer.h"

#include <gtest/gtest.h>

#include <random>

#include "basic/byte_scan.h"

namespace vornette {
namespace {

TEST(ByteBufferTest, GrowsReleasesAndKeepsItsBytes) {
  // Appends that cross every growth step, up to the huge-page blocks.
  ByteBuffer buffer;
  std::string expected;
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
  EXPECT_TRUE(buffer.empty());
  // Released memory is gone: the next Reserve must take new memory.
  moved.Release();
  EXPECT_EQ(moved.capacity(), 0u);
  moved.Reserve(10);
  moved.Append("0123456789");
  moved.Resize(4);
  EXPECT_EQ(moved.view(), "0123");
  volatile size_t wrapping = SIZE_MAX;  // unknown to the compiler, as a size from a file is
  EXPECT_THROW(moved.Append(wrapping, 'x'), std::bad_alloc);
  moved.Resize(5000);                                         // beyond the capacity: it must grow
  EXPECT_GE(moved.capacity(), 5000u);
  EXPECT_EQ(moved.view().substr(0, 4), "0123");
}

TEST(ByteScanTest, MasksAndSearchesAgreeWithALoop) {
  std::mt19937 random(11);
  for (int round = 0; round < 50000; ++round) {
    char bytes[8];
    for (char& b : bytes) b = random() % 3 == 0 ? "\r\n\0aZz\x8D"[random() % 7] : char(random());
    const char c = "\r\n\0\x8D"[random() % 4];
    const unsigned char low = "aA\x01"[random() % 3];
    const unsigned char high = static_cast<unsigned char>(low + random() % 30);
    const uint64_t equal = BytesEqual(LoadWord(bytes), c);
    const uint64_t between = BytesBetween(LoadWord(bytes), low, high);
    for (int i = 0; i < 8; ++i) {
      const unsigned char b = static_cast<unsigned char>(bytes[i]);
      ASSERT_EQ((equal >> (8 * i)) & 0xFF, bytes[i] == c ? 0x80u : 0u) << round;
      ASSERT_EQ((between >> (8 * i)) & 0xFF, b >= low && b <= high ? 0x80u : 0u) << round;
    }
    ASSERT_EQ(FindByte(bytes, 8, c), std::min<size_t>(std::string_view(bytes, 8).find(c), 8));
  }
}

TEST(ByteScanTest, HasByteBetweenLooksAtExactlyItsBytes) {
  for (size_t n = 0; n <= 17; ++n) {
    std::string bytes(n + 1, '.');
    bytes[n] = 'q';  // just past the end: never seen
    EXPECT_FALSE(HasByteBetween(bytes.data(), n, 'a', 'z')) << n;
    if (n == 0) continue;
    bytes[n - 1] = 'q';
    EXPECT_TRUE(HasByteBetween(bytes.data(), n, 'a', 'z')) << n;
  }
}

}  // namespace
}  // namespace vornette
