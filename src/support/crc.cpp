// CRC-16 with the caller's polynomial (most significant bit first) and the
// reflected CRC-32 of polynomial 0xEDB88320, over buffers, texts and files.
// The CRC-32 runs sixteen bytes per step from sixteen tables ("slicing"),
// which gives exactly the bytewise table algorithm's results.
#include "support/crc.h"

#include <array>
#include <bit>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace zu {
namespace {

// The file forms stream through a buffer of this size. Reading in larger
// blocks than the classic 512 bytes gives the same results with far fewer
// system calls.
constexpr size_t kFileBlock = 64 * 1024;

using Crc32Tables = std::array<std::array<uint32_t, 256>, 16>;

constexpr Crc32Tables MakeCrc32Tables() {
  Crc32Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][i] = c;
  }
  // Table k advances a byte that still has k zero bytes to pass.
  for (size_t k = 1; k < 16; ++k) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t prev = t[k - 1][i];
      t[k][i] = (prev >> 8) ^ t[0][prev & 0xFF];
    }
  }
  return t;
}

constexpr Crc32Tables kCrc32 = MakeCrc32Tables();
static_assert(kCrc32[0][1] == 0x77073096u && kCrc32[0][255] == 0x2D02EF8Du);

// Table of the shift-register step for one 16-bit generator.
using Crc16Table = std::array<uint16_t, 256>;

constexpr uint16_t Crc16Bitwise(uint8_t byte, uint16_t crc, uint32_t polynomial) {
  const uint16_t feedback = static_cast<uint16_t>(polynomial & 0xFFFE);
  for (int bit = 7; bit >= 0; --bit) {
    crc = static_cast<uint16_t>(crc ^ (((byte >> bit) & 1) << 15));
    uint16_t out = static_cast<uint16_t>(crc >> 15);
    crc = static_cast<uint16_t>((crc << 1) | out);
    if (out) crc = static_cast<uint16_t>(crc ^ feedback);
  }
  return crc;
}

constexpr Crc16Table MakeCrc16Table(uint32_t polynomial) {
  Crc16Table t{};
  for (uint32_t i = 0; i < 256; ++i) {
    t[i] = Crc16Bitwise(0, static_cast<uint16_t>(i << 8), polynomial);
  }
  return t;
}

// The rotation puts the outgoing bit into bit 0, so the step equals the
// plain shift-register step with generator (polynomial | 1); the scripts'
// polynomial 0x11021 gets a table, any other runs bit by bit.
constexpr Crc16Table kCrc16Ccitt = MakeCrc16Table(kCrc16Polynomial);

inline uint32_t Load32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

template <typename Update>
bool StreamFile(const std::string& fileName, const char* caption, Update update) {
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::FileShare::Read,
                           platform::FileDisposition::OpenExisting, /*sequential=*/true);
  if (!file.IsOpen()) {
    platform::ShowMessage(
        caption, "Can't open file (" + std::to_string(platform::LastError()) + "):\n" + fileName);
    return false;
  }
  std::string buffer(kFileBlock, '\0');
  for (;;) {
    long n = file.Read(buffer.data(), kFileBlock);
    if (n < 0) {
      platform::ShowMessage(
          caption, "Error read file (" + std::to_string(platform::LastError()) + "):\n" + fileName);
      break;
    }
    if (n > 0)
      update(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<size_t>(n));
    if (n == 0) break;  // a short read is not taken as the end: pipes give them
  }
  return true;
}

}  // namespace

uint16_t Crc16Update(uint8_t byte, uint16_t crc, uint32_t polynomial) {
  return Crc16Bitwise(byte, crc, polynomial);
}

uint16_t Crc16OfBuffer(const void* data, size_t length, uint16_t crc, uint32_t polynomial) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  if ((polynomial & 0xFFFE) == (kCrc16Polynomial & 0xFFFE)) {
    for (size_t i = 0; i < length; ++i) {
      crc = static_cast<uint16_t>((crc << 8) ^ kCrc16Ccitt[((crc >> 8) ^ p[i]) & 0xFF]);
    }
    return crc;
  }
  for (size_t i = 0; i < length; ++i) crc = Crc16Bitwise(p[i], crc, polynomial);
  return crc;
}

uint16_t Crc16OfText(std::string_view text, uint16_t crc, uint32_t polynomial) {
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return Crc16OfBuffer(text.data(), text.size(), crc, polynomial);
}

uint16_t Crc16OfFile(const std::string& fileName, uint16_t crc, uint32_t polynomial) {
  uint16_t reg = crc;
  bool opened = StreamFile(fileName, "CRC_File", [&](const unsigned char* p, size_t n) {
    reg = Crc16OfBuffer(p, n, reg, polynomial);
  });
  return opened ? reg : 0;
}

uint32_t Crc32Update(const void* data, size_t length, uint32_t crc) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  const auto& t = kCrc32;
  while (length >= 16) {
    uint32_t a = Load32(p) ^ crc;
    uint32_t b = Load32(p + 4);
    uint32_t c = Load32(p + 8);
    uint32_t d = Load32(p + 12);
    crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
          t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
          t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
          t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    p += 16;
    length -= 16;
  }
  while (length-- > 0) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

uint32_t Crc32OfText(std::string_view text, uint32_t crc) {
  return Crc32Update(text.data(), text.size(), crc);
}

uint32_t Crc32OfFile(const std::string& fileName, uint32_t crc) {
  uint32_t reg = crc;
  bool opened = StreamFile(fileName, "CRC32_File",
                           [&](const unsigned char* p, size_t n) { reg = Crc32Update(p, n, reg); });
  return opened ? reg : 0;
}

}  // namespace zu
