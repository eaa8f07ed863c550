#pragma once
// Check sums the installation record needs: XXH64 tells whether a file is
// still what the installation wrote (fast enough to run over every file the
// installation copies; the product folder is closed to non-administrators,
// so no one who could forge a file would need to); CRC-32 tells whether a
// line of the record is whole.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// XXH64 (seed 0) of data given in pieces: the same as Xxh64 of them joined.
class Xxh64Stream {
public:
    void Update(std::string_view data);
    std::uint64_t Digest() const;

private:
    static constexpr std::size_t kStripe = 32;
    void Consume(const unsigned char* stripe);

    std::array<std::uint64_t, 4> lanes_{0x9E3779B185EBCA87ull + 0xC2B2AE3D27D4EB4Full,
                                        0xC2B2AE3D27D4EB4Full, 0, 0 - 0x9E3779B185EBCA87ull};
    std::array<unsigned char, kStripe> stripe_{};
    std::size_t pending_ = 0;
    std::uint64_t total_ = 0;
};

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
