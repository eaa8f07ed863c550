// SetUp.exe is built without C++ exceptions (CMakeLists.txt, varnok_program_options):
// none is thrown, none crosses a callback of Windows. What would have thrown ends the
// program at once instead, with no window (an unattended run may have no one to answer
// one) and exit code 4, the code of a run with a failed step: memory running out (operator
// new, replaced as the standard allows) and a misused string or container, a fault of
// the program (the C++ library's throw points, which it lets a program without exceptions
// define). An installation cut short so is rolled back by the next run, as after a crash
// (its record is written ahead of each change).
//
// Linked into SetUp.exe alone: the test programs keep the library's exceptions. Without
// these definitions the library's exception support, its copy-on-write strings, its
// demangler and the posix thread library come in, a quarter of the program.
#include <cxxabi.h>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "app/exit_codes.h"
#include "platform/win32/windows_api.h"

namespace {

[[noreturn]] void EndAtOnce() {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(vk::kExitStepFailed));
    for (;;) {
        ::ExitProcess(static_cast<UINT>(vk::kExitStepFailed));
    }
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    EndAtOnce();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace std {

void __throw_bad_exception() {
    EndAtOnce();
}
void __throw_bad_alloc() {
    EndAtOnce();
}
void __throw_bad_array_new_length() {
    EndAtOnce();
}
void __throw_bad_cast() {
    EndAtOnce();
}
void __throw_bad_typeid() {
    EndAtOnce();
}
void __throw_logic_error(const char*) {
    EndAtOnce();
}
void __throw_domain_error(const char*) {
    EndAtOnce();
}
void __throw_invalid_argument(const char*) {
    EndAtOnce();
}
void __throw_length_error(const char*) {
    EndAtOnce();
}
void __throw_out_of_range(const char*) {
    EndAtOnce();
}
void __throw_out_of_range_fmt(const char*, ...) {
    EndAtOnce();
}
void __throw_runtime_error(const char*) {
    EndAtOnce();
}
void __throw_range_error(const char*) {
    EndAtOnce();
}
void __throw_overflow_error(const char*) {
    EndAtOnce();
}
void __throw_underflow_error(const char*) {
    EndAtOnce();
}
void __throw_system_error(int) {
    EndAtOnce();
}
void __throw_bad_function_call() {
    EndAtOnce();
}

}  // namespace std

// std::abort, where the library checks without exceptions (std::optional::value, a pure
// virtual call), ends the same way: without the C runtime's message box.
[[maybe_unused]] const auto kAbortEnds = std::signal(SIGABRT, [](int) { EndAtOnce(); });

namespace __gnu_cxx {

// std::terminate's default handler prints the exception's type demangled; no
// exception exists here, and the demangler is 45 KiB.
void __verbose_terminate_handler() {
    EndAtOnce();
}

}  // namespace __gnu_cxx
