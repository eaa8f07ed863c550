#include "platform/memory/fault_injector.h"

namespace vk::memory {

bool FaultInjector::ShouldFail(std::string_view operation) {
    log_.emplace_back(operation);
    if (powerCutAt_ != 0 && log_.size() == powerCutAt_)
        throw PowerCut{std::string(operation)};
    bool fail = failNth_ != 0 && log_.size() == failNth_;
    for (Rule& rule : rules_) {
        if (rule.operation != operation)
            continue;
        ++rule.seen;
        if (rule.occurrence == 0 || rule.occurrence == rule.seen)
            fail = true;
    }
    if (fail)
        ++failuresInjected_;
    return fail;
}

void FaultInjector::FailOperation(std::string operation, std::size_t occurrence) {
    rules_.push_back(Rule{std::move(operation), occurrence, 0});
}

void FaultInjector::Reset() {
    log_.clear();
    rules_.clear();
    failNth_ = 0;
    powerCutAt_ = 0;
    failuresInjected_ = 0;
}

}  // namespace vk::memory
