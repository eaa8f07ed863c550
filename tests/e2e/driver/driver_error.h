#pragma once
// How the driver reports a failed step: an exception whose text (UTF-8, so logs read well)
// says what was expected and what was on screen. GoogleTest reports it as the test's failure.
#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vk::e2e {

class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Time limits of waits, in milliseconds. (Not <chrono>: its "µs" has no GBK form, and every
// source here is compiled for a GBK execution character set.)
using TimeoutMs = DWORD;

// Long enough for a cold Wine start on a loaded machine; waits end as soon as the condition holds.
inline constexpr TimeoutMs kDefaultTimeoutMs = 20000;

// Program texts are in the ANSI code page (GBK); messages are UTF-8.
std::string toUtf8(std::string_view ansi);

// For one-line reports: at most `maxChars` characters, line breaks shown as \n.
std::string toUtf8Line(std::string_view ansi, size_t maxChars);

// "what (error 5)", for the calling thread's last error by default.
std::string withLastError(std::string_view what, DWORD error = GetLastError());

}  // namespace vk::e2e
