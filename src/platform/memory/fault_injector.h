#pragma once
// Counts the operations the memory services make and fails the ones a test
// names: the n-th operation of all, or every (or the n-th) call of one kind.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vk::memory {

class FaultInjector {
public:
    // Called by a memory service at the start of every operation; true means
    // the operation must fail. Every call is counted and logged.
    bool ShouldFail(std::string_view operation);

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
    std::size_t failuresInjected_ = 0;
};

}  // namespace vk::memory
