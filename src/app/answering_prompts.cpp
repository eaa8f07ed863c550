#include "app/answering_prompts.h"

namespace vk {
namespace {

// The button sets of MessageBox (the low four bits of its type).
constexpr unsigned kButtonSetMask = 0x0F;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbYesNoCancel = 0x03;

const char* AnswerName(int answer) {
    switch (answer) {
        case kIdAbort:
            return "Abort";
        case kIdRetry:
            return "Retry";
        case kIdIgnore:
            return "Ignore";
        case kIdYes:
            return "Yes";
        case kIdNo:
            return "No";
        case kIdCancel:
            return "Cancel";
        case kIdOk:
            return "OK";
        default:
            return "nothing: the box could not be shown";
    }
}

}  // namespace

int AnsweringPrompts::AnswerFor(unsigned type) {
    switch (type & kButtonSetMask) {
        case kMbAbortRetryIgnore:
            return kIdAbort;
        case kMbYesNo:
        case kMbYesNoCancel:
            return kIdYes;
        case kMbRetryCancel:
            return kIdCancel;  // retrying for ever with nobody to fix the cause helps nobody
        case kMbOkCancel:
        default:
            return kIdOk;
    }
}

int AnsweringPrompts::MessageBox(WindowRef owner, const std::string& text,
                                 const std::string& caption, unsigned type) {
    if (shown_ != nullptr) {
        const int answer = shown_->MessageBox(owner, text, caption, type);
        log_.Info(std::string("Message shown (answered ") + AnswerName(answer) + "): " + text);
        return answer;
    }
    const int answer = AnswerFor(type);
    log_.Info(std::string("Message not shown (answered ") + AnswerName(answer) + "): " + text);
    return answer;
}

}  // namespace vk
