#include "basic/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace vornette {
namespace {

TEST(ByteScanTest, MasksMarkExactlyTheEqualBytes) {
  std::mt19937 random(11);
  for (int round = 0; round < 100000; ++round) {
    char bytes[8];
    for (char& b : bytes)
      b = random() % 3 == 0 ? "\r\n\x0C\x8D\x8A\0"[random() % 6] : char(random());
    const char c = "\r\n\0\x8D"[random() % 4];
    const uint64_t mask = BytesEqual(LoadWord(bytes), c);
    ASSERT_EQ(CountMarked(mask), static_cast<size_t>(std::count(bytes, bytes + 8, c)));
    for (int i = 0; i < 8; ++i) {
      ASSERT_EQ((mask >> (8 * i)) & 0xFF, bytes[i] == c ? 0x80u : 0u) << round << " " << i;
    }
  }
}

TEST(ByteScanTest, RangeMasksMarkExactlyTheBytesInRange) {
  std::mt19937 random(13);
  for (int round = 0; round < 100000; ++round) {
    char bytes[8];
    for (char& b : bytes) b = static_cast<char>(random());
    const unsigned char low = "aA0\x01"[random() % 4];
    const unsigned char high = static_cast<unsigned char>(low + random() % 30);
    const uint64_t mask = BytesBetween(LoadWord(bytes), low, high);
    bool any = false;
    for (int i = 0; i < 8; ++i) {
      const unsigned char c = static_cast<unsigned char>(bytes[i]);
      const bool in = c >= low && c <= high;
      any = any || in;
      ASSERT_EQ((mask >> (8 * i)) & 0xFF, in ? 0x80u : 0u) << round << " " << i;
    }
    ASSERT_EQ(HasByteBetween(bytes, 8, low, high), any);
  }
}

TEST(ByteScanTest, FindByteAgreesWithALoop) {
  std::mt19937 random(12);
  for (int round = 0; round < 20000; ++round) {
    std::string s(random() % 40, 'x');
    for (char& b : s) b = random() % 8 == 0 ? '\r' : static_cast<char>(random());
    const size_t expected = std::min(s.find('\r'), s.size());
    ASSERT_EQ(FindByte(s.data(), s.size(), '\r'), expected);
  }
}

}  // namespace
}  // namespace vornette
