#pragma once
// Check sums the installation record needs: SHA-256 tells whether a file is
// still what the installation wrote; CRC-32 tells whether a line of the
// record is whole.
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// SHA-256 of `data`, as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);

// CRC-32 (IEEE 802.3, as zip uses it) of `data`.
std::uint32_t Crc32(std::string_view data);

// Bytes as lower-case hexadecimal digits, and back; nothing for text that is
// not an even number of hexadecimal digits.
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view hex, std::string& bytes);

}  // namespace vk
