#pragma once
// Message boxes that nobody sees: with /SUPPRESSMSGBOXES every question gets
// the answer an unattended run needs (Abort at a failed copy, Yes to a
// confirmation, OK to a message), and the log says what was asked and answered.
#include <string>

#include "platform/log.h"
#include "platform/prompts.h"
#include "platform/services.h"

namespace vk {

class AnsweringPrompts : public IPrompts {
public:
    explicit AnsweringPrompts(Log& log) : log_(log) {}

    WindowRef MainWindow() override { return 0; }
    int MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                   unsigned type) override;

    // The answer given to a box of `type` (its MB_* button set).
    static int AnswerFor(unsigned type);

private:
    Log& log_;
};

// The system's services, with its message boxes or with `answering` in their
// place when nobody may be asked.
inline Services ServicesAsking(const Services& system, bool mayAsk, AnsweringPrompts& answering) {
    IPrompts& prompts = mayAsk ? system.prompts : static_cast<IPrompts&>(answering);
    return Services{system.registry, system.files, system.processes, prompts,
                    system.codePage, system.log,   system.random};
}

}  // namespace vk
