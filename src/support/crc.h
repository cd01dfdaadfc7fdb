// CRC-16 (caller's polynomial, most significant bit first) and the reflected
// CRC-32 over buffers, texts and files. No final inversion anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zu {

inline constexpr uint32_t kCrc16Polynomial = 0x11021;

uint16_t Crc16Update(uint8_t byte, uint16_t crc, uint32_t polynomial);
uint16_t Crc16OfBuffer(const void* data, size_t length, uint16_t crc, uint32_t polynomial);
// Stops at the first NUL.
uint16_t Crc16OfText(std::string_view text, uint16_t crc, uint32_t polynomial);
// 0 and a message box when the file cannot be opened; the partial CRC and a
// message box when reading fails.
uint16_t Crc16OfFile(const std::string& fileName, uint16_t crc, uint32_t polynomial);

uint32_t Crc32Update(const void* data, size_t length, uint32_t crc);
// Covers the whole text, NULs included.
uint32_t Crc32OfText(std::string_view text, uint32_t crc);
uint32_t Crc32OfFile(const std::string& fileName, uint32_t crc);

}  // namespace zu
