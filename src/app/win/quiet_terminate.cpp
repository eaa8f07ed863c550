// The C++ library's default terminate handler prints the type of an uncaught
// exception to stderr, demangled: a GUI program has no stderr, and the
// demangler it links in is 45 KiB, a tenth of SetUp.exe. Every callback
// stops exceptions (ui/framework), so this runs only on a fault; it ends the
// program as the library's handler does after printing.
#include <cxxabi.h>
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
