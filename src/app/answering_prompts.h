#pragma once
// The message boxes of a run that a deployment tool may have started: each
// box goes into the log once, with its answer. With /SUPPRESSMSGBOXES nobody
// sees them, and every question gets the answer an unattended run needs
// (Abort at a failed copy, Yes to a confirmation, OK to a message); otherwise
// they are shown and the person's answer is logged.
#include <string>

#include "platform/log.h"
#include "platform/prompts.h"
#include "platform/services.h"

namespace vk {

class AnsweringPrompts : public IPrompts {
public:
    explicit AnsweringPrompts(Log& log) : log_(log) {}

    // The boxes to show ("Message shown"); none: answered here ("Message not shown").
    void ShowOn(IPrompts* shown) { shown_ = shown; }

    WindowRef MainWindow() override { return shown_ != nullptr ? shown_->MainWindow() : 0; }
    int MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                   unsigned type) override;

    // The answer given to a box of `type` (its MB_* button set) when nobody sees it.
    static int AnswerFor(unsigned type);

private:
    Log& log_;
    IPrompts* shown_ = nullptr;
};

// The system's services, with their boxes shown when someone may be asked,
// answered by `answering` otherwise, and logged either way.
inline Services ServicesAsking(const Services& system, bool mayAsk, AnsweringPrompts& answering) {
    answering.ShowOn(mayAsk ? &system.prompts : nullptr);
    return Services{system.registry, system.files, system.processes, answering,
                    system.codePage, system.log,   system.random};
}

}  // namespace vk
