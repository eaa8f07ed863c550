#pragma once
// Check sums the installation record needs: XXH64 tells whether a file is
// still what the installation wrote (fast enough to run over every file the
// installation copies; the product folder is closed to non-administrators,
// so no one who could forge a file would need to); CRC-32 tells whether a
// line of the record is whole.
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// XXH64 (seed 0) of `data`, and the same as 16 lower-case hexadecimal digits.
std::uint64_t Xxh64(std::string_view data);
std::string FileHashHex(std::string_view data);

// CRC-32 (IEEE 802.3, as zip uses it) of `data`.
std::uint32_t Crc32(std::string_view data);

// The lowest `digits` hexadecimal digits of `value`, lower case, with leading zeros.
std::string NumberHex(std::uint64_t value, int digits);

// Bytes as lower-case hexadecimal digits, and back; nothing for text that is
// not an even number of hexadecimal digits.
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view hex, std::string& bytes);

}  // namespace vk
