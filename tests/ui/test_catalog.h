#pragma once
// The pages read the program's catalogue; these tests give them one on memory
// services and say which releases "discovery" found.
#include <initializer_list>

namespace vk::test {

// Empties the catalogue, then records one installation folder per year given.
void SetFoundReleases(std::initializer_list<int> years);

// Saves the installation context on construction and puts it back on
// destruction, so that every test starts from the program's initial values.
class ContextGuard {
public:
    ContextGuard();
    ~ContextGuard();
    ContextGuard(const ContextGuard&) = delete;
    ContextGuard& operator=(const ContextGuard&) = delete;
};

}  // namespace vk::test
