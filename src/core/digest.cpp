#include "core/digest.h"

namespace vk {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ull;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ull;

constexpr std::uint64_t Rotl(std::uint64_t x, int n) {
    return (x << n) | (x >> (64 - n));
}

std::uint64_t Read64(const unsigned char* p) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

std::uint32_t Read32(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

std::uint64_t Round(std::uint64_t acc, std::uint64_t input) {
    return Rotl(acc + input * kPrime2, 31) * kPrime1;
}

std::uint64_t Merge(std::uint64_t acc, std::uint64_t value) {
    return (acc ^ Round(0, value)) * kPrime1 + kPrime4;
}

}  // namespace

// XXH64 with seed 0, as its reference describes it, fed in pieces: stripes
// of 32 bytes go through the four lanes, the rest waits for the next piece.
void Xxh64Stream::Update(std::string_view data) {
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    const unsigned char* const end = p + data.size();
    total_ += data.size();
    if (pending_ > 0) {
        while (pending_ < kStripe && p < end)
            stripe_[pending_++] = *p++;
        if (pending_ < kStripe)
            return;
        Consume(stripe_.data());
        pending_ = 0;
    }
    for (; end - p >= static_cast<std::ptrdiff_t>(kStripe); p += kStripe)
        Consume(p);
    while (p < end)
        stripe_[pending_++] = *p++;
}

void Xxh64Stream::Consume(const unsigned char* p) {
    lanes_[0] = Round(lanes_[0], Read64(p));
    lanes_[1] = Round(lanes_[1], Read64(p + 8));
    lanes_[2] = Round(lanes_[2], Read64(p + 16));
    lanes_[3] = Round(lanes_[3], Read64(p + 24));
}

std::uint64_t Xxh64Stream::Digest() const {
    std::uint64_t hash = 0;
    if (total_ >= kStripe) {
        const auto& v = lanes_;
        hash = Rotl(v[0], 1) + Rotl(v[1], 7) + Rotl(v[2], 12) + Rotl(v[3], 18);
        hash = Merge(Merge(Merge(Merge(hash, v[0]), v[1]), v[2]), v[3]);
    } else {
        hash = kPrime5;
    }
    hash += total_;
    const unsigned char* p = stripe_.data();
    const unsigned char* const end = p + pending_;
    for (; end - p >= 8; p += 8)
        hash = Rotl(hash ^ Round(0, Read64(p)), 27) * kPrime1 + kPrime4;
    if (end - p >= 4) {
        hash = Rotl(hash ^ (Read32(p) * kPrime1), 23) * kPrime2 + kPrime3;
        p += 4;
    }
    for (; p < end; ++p)
        hash = Rotl(hash ^ (*p * kPrime5), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}

std::uint64_t Xxh64(std::string_view data) {
    Xxh64Stream stream;
    stream.Update(data);
    return stream.Digest();
}

std::string NumberHex(std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex(static_cast<std::size_t>(digits), '0');
    for (int i = 0; i < digits; ++i)
        hex[static_cast<std::size_t>(digits - 1 - i)] = kDigits[(value >> (4 * i)) & 0xF];
    return hex;
}

std::string FileHashHex(std::string_view data) {
    return NumberHex(Xxh64(data), 16);
}

std::uint32_t Crc32(std::string_view data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string ToHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

bool FromHex(std::string_view hex, std::string& bytes) {
    bytes.clear();
    if (hex.size() % 2 != 0)
        return false;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (std::size_t at = 0; at < hex.size(); at += 2) {
        const int high = digit(hex[at]);
        const int low = digit(hex[at + 1]);
        if (high < 0 || low < 0) {
            bytes.clear();
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

}  // namespace vk
