#pragma once
// What every fuzz target shares: a reader that turns the fuzzer's bytes into
// choices and texts, and a property check that stops the run with a report
// (libFuzzer keeps the input that made it fail).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vk::fuzz {

[[noreturn]] inline void Fail(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

// Reads the input front to back; once it is used up every read gives zeros
// and empty texts, so a short input is a valid input too.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ == size_; }
    std::size_t Remaining() const { return size_ - at_; }

    std::uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    // Up to `count` bytes.
    std::string Text(std::size_t count) {
        const std::size_t taken = count < Remaining() ? count : Remaining();
        std::string text(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return text;
    }
    // A text whose length is the next byte (0 to 255).
    std::string ShortText() { return Text(Byte()); }
    std::string Rest() { return Text(Remaining()); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace vk::fuzz

// A property of the code under test; a violation aborts with its text.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::vk::fuzz::Fail(#condition, __FILE__, __LINE__))

// The libFuzzer entry every target defines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
