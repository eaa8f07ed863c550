#include "engine/events.h"

#include "engine/install_texts.h"
#include "engine/setup_message.h"

namespace vk {

void PromptingEvents::Step() {
    if (progress_ != nullptr)
        progress_->Step();
}

CopyAnswer PromptingEvents::CopyFailed(const std::string& destination) {
    if (policy_ == CopyFailurePolicy::Abort)
        return CopyAnswer::Abort;
    const int answer = SetupMessage(services_, CopyFailedText(destination), kMbAbortRetryIgnore);
    return answer == kIdRetry    ? CopyAnswer::Retry
           : answer == kIdIgnore ? CopyAnswer::Ignore
                                 : CopyAnswer::Abort;
}

void PromptingEvents::Say(const std::string& text, unsigned type) {
    SetupMessage(services_, text, type);
}

}  // namespace vk
