#include "platform/memory/memory_prompts.h"

#include <utility>

namespace vk::memory {
namespace {

// The button a MessageBox of `type` answers when Enter is pressed: its first.
int DefaultButton(unsigned type) {
    switch (type & 0x0F) {
        case kMbAbortRetryIgnore:
            return kIdAbort;
        case kMbYesNo:
            return kIdYes;
        default:
            return kIdOk;
    }
}

}  // namespace

int MemoryPrompts::MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                              unsigned type) {
    if (faults_ != nullptr && faults_->ShouldFail("MessageBox"))
        return 0;
    records_.push_back(PromptRecord{owner, text, caption, type});
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if (responder_) {
        // Held aside while it runs, so that it may set a new responder itself.
        // std::exchange, not std::move: a moved-from std::function need not be empty.
        Responder current = std::exchange(responder_, nullptr);
        const int answer = current(records_.back());
        if (!responder_)
            responder_ = std::move(current);
        return answer;
    }
    return DefaultButton(type);
}

}  // namespace vk::memory
