#pragma once
// Counts the operations the memory services make and fails the ones a test
// names: the n-th operation of all, or every (or the n-th) call of one kind.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vk::memory {

// Thrown out of the memory services by a power cut: the program ends where it
// is, as a process killed or a machine switched off would. Not an exception
// the program knows, so that nothing it does catches it.
struct PowerCut {
    std::string operation;  // the one that never happened
};

class FaultInjector {
public:
    // Called by a memory service at the start of every operation; true means
    // the operation must fail. Every call is counted and logged.
    bool ShouldFail(std::string_view operation);

    // The n-th operation from the last Reset (1-based) never happens: the
    // power goes before it (PowerCut is thrown); 0: never.
    void CutPowerAt(std::size_t n) { powerCutAt_ = n; }
    // Fail the n-th operation counted from the last Reset (1-based); 0: none.
    void FailNth(std::size_t n) { failNth_ = n; }
    // Fail calls of one operation kind: every one (occurrence 0) or only the
    // occurrence-th one (1-based).
    void FailOperation(std::string operation, std::size_t occurrence = 0);

    std::size_t OperationCount() const { return log_.size(); }
    const std::vector<std::string>& Log() const { return log_; }
    std::size_t FailuresInjected() const { return failuresInjected_; }

    // Forget the count, the log and every planned failure.
    void Reset();

private:
    struct Rule {
        std::string operation;
        std::size_t occurrence;
        std::size_t seen;
    };
    std::vector<std::string> log_;
    std::vector<Rule> rules_;
    std::size_t failNth_ = 0;
    std::size_t powerCutAt_ = 0;
    std::size_t failuresInjected_ = 0;
};

}  // namespace vk::memory
