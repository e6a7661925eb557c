#include "basic/packed_word.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vornette {
namespace {

// The wide form reads sixteen bytes and keeps the word's; it must pack
// exactly what the byte-by-byte form packs, whatever follows the word.
TEST(PackedWordTest, WideAndByteByByteFormsAgree) {
  std::mt19937 random(5);
  const std::string alphabet = "abcxyzABCXYZ_$#;09@[`{\x80\xE9\xFF";
  for (int round = 0; round < 50000; ++round) {
    char bytes[16];
    for (char& b : bytes) b = alphabet[random() % alphabet.size()];
    const size_t length = random() % 17;
    const std::string_view word(bytes, length);
    ASSERT_EQ(PackUpperWide(bytes, length), PackUpper(word)) << word;
    // Words that differ only in letter case pack alike; others do not.
    std::string other(word);
    for (char& c : other) c = ToLowerAscii(c);
    EXPECT_EQ(PackUpper(other), PackUpper(word));
  }
  EXPECT_NE(PackUpper("END"), PackUpper("ENDIF"));
  EXPECT_NE(PackUpper("A"), PackUpper("B"));
}

}  // namespace
}  // namespace vornette
