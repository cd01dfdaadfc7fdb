// CRC-16 and CRC-32: check values, NUL handling, agreement of the sliced
// CRC-32 with the bytewise definition, and the file forms.
#include "support/crc.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/platform.h"
#include "platform/platform_test_util.h"

namespace zu {
namespace {

// The bytewise definition the fast path must match.
uint32_t Crc32Reference(const std::string& data, uint32_t crc) {
  for (unsigned char b : data) {
    uint32_t c = (crc ^ b) & 0xFF;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    crc = c ^ (crc >> 8);
  }
  return crc;
}

TEST(Crc, CheckValues) {
  EXPECT_EQ(Crc16OfText("123456789", 0, 0x11021), 0x31C3);
  EXPECT_EQ(Crc16OfText("123456789", 0xFFFF, 0x11021), 0x29B1);
  EXPECT_EQ(Crc16OfText("abc", 0, 0x11021), 0x9DD6);
  EXPECT_EQ(Crc16OfText("abc", 0xFFFF, 0x11021), 0x514A);
  EXPECT_EQ(Crc32OfText("123456789", 0xFFFFFFFFu), 0x340BC6D9u);
  EXPECT_EQ(Crc32OfText("123456789", 0xFFFFFFFFu) ^ 0xFFFFFFFFu, 0xCBF43926u);
  EXPECT_EQ(Crc32OfText("123456789", 0), 0x2DFD2D88u);
  EXPECT_EQ(Crc32OfText("abc", 0xFFFFFFFFu), 0xCADBBE3Du);
}

TEST(Crc, EmptyInputKeepsTheStartValue) {
  EXPECT_EQ(Crc16OfText("", 0x1234, 0x11021), 0x1234);
  EXPECT_EQ(Crc16OfBuffer(nullptr, 0, 0xBEEF, 0x11021), 0xBEEF);
  EXPECT_EQ(Crc32OfText("", 0xDEADBEEFu), 0xDEADBEEFu);
  EXPECT_EQ(Crc32Update(nullptr, 0, 7), 7u);
}

TEST(Crc, NulInTheMiddleStopsOnlyTheSixteenBitForm) {
  std::string withNul(
      "12345\0"
      "6789",
      10);
  EXPECT_EQ(Crc16OfText(withNul, 0, 0x11021), Crc16OfText("12345", 0, 0x11021));
  EXPECT_NE(Crc32OfText(withNul, 0xFFFFFFFFu), Crc32OfText("12345", 0xFFFFFFFFu));
  EXPECT_EQ(Crc32OfText(withNul, 0xFFFFFFFFu), Crc32Reference(withNul, 0xFFFFFFFFu));
}

TEST(Crc, SixteenBitTableAndOtherPolynomialsFollowTheBitStep) {
  // The table path for 0x11021 against the bit-by-bit step, and a
  // polynomial with bit 0 clear, which the rotation still feeds back.
  std::string data = "The quick brown fox jumps over the lazy dog";
  for (uint32_t poly : {0x11021u, 0x18005u, 0x8004u, 0x1021u}) {
    uint16_t bitwise = 0xFFFF;
    for (unsigned char b : data) bitwise = Crc16Update(b, bitwise, poly);
    EXPECT_EQ(Crc16OfText(data, 0xFFFF, poly), bitwise) << std::hex << poly;
  }
  EXPECT_EQ(Crc16OfText("123456789", 0, 0x18005), 0xFEE8);  // CRC-16/UMTS check value
}

TEST(Crc, SlicedCrc32MatchesBytewiseAtEveryLengthAndAlignment) {
  std::mt19937 rng(42);
  std::string data(4096 + 37, '\0');
  for (char& c : data) c = static_cast<char>(rng());
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t len : {0u, 1u, 7u, 15u, 16u, 17u, 31u, 64u, 1000u, 4096u}) {
      std::string part = data.substr(offset, len);
      ASSERT_EQ(Crc32OfText(part, 0xFFFFFFFFu), Crc32Reference(part, 0xFFFFFFFFu))
          << "offset " << offset << " length " << len;
    }
  }
  // Feeding in pieces gives the value of the whole.
  uint32_t pieces = Crc32Update(data.data(), 1000, 0);
  pieces = Crc32Update(data.data() + 1000, data.size() - 1000, pieces);
  EXPECT_EQ(pieces, Crc32Reference(data, 0));
}

class CrcFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    return dir_.File(name, content);
  }
  zu::testing::ScratchDir dir_{"crc"};
};

TEST_F(CrcFileTest, FileFormsMatchTextForms) {
  EXPECT_EQ(Crc32OfFile(Write("check.txt", "123456789"), 0xFFFFFFFFu), 0x340BC6D9u);
  EXPECT_EQ(Crc16OfFile(Write("check16.txt", "123456789"), 0xFFFF, 0x11021), 0x29B1);
  std::string empty = Write("empty.bin", "");
  EXPECT_EQ(Crc32OfFile(empty, 0x12345678u), 0x12345678u);
  EXPECT_EQ(Crc16OfFile(empty, 0x1234, 0x11021), 0x1234);
  // A size that is a multiple of 512, NULs included: the 16-bit file form
  // covers every byte (only its text form stops at a NUL).
  std::string blocks(1024, 'x');
  blocks[100] = '\0';
  std::string path = Write("blocks.bin", blocks);
  EXPECT_EQ(Crc32OfFile(path, 0xFFFFFFFFu), Crc32Reference(blocks, 0xFFFFFFFFu));
  EXPECT_EQ(Crc16OfFile(path, 0, 0x11021), Crc16OfBuffer(blocks.data(), blocks.size(), 0, 0x11021));
}

TEST_F(CrcFileTest, MissingFileShowsTheMessageAndGivesZero) {
  std::string missing = dir_.Path() + "missing.bin";
  if (platform::ThisSystem() == platform::SystemFamily::Windows) {
    // The message is a message box there, which a test cannot read (on a
    // machine without a display it returns at once).
    EXPECT_EQ(Crc32OfFile(missing, 0xFFFFFFFFu), 0u);
    EXPECT_EQ(Crc16OfFile(missing, 0xFFFF, 0x11021), 0);
    return;
  }
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Crc32OfFile(missing, 0xFFFFFFFFu), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "CRC32_File: Can't open file (2):\n" + missing + "\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Crc16OfFile(missing, 0xFFFF, 0x11021), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "CRC_File: Can't open file (2):\n" + missing + "\n");
}

}  // namespace
}  // namespace zu
