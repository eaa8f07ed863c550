#pragma once
// What applying an installation plan asks of the front end that runs it, and
// nothing else: that the work goes on (progress), what to do about a copy
// that failed, and a message for the person at the screen. The wizard, the
// unattended run and the tests each answer in their own way.
#include <string>

#include "platform/progress.h"
#include "platform/services.h"

namespace vk {

enum class CopyAnswer { Retry, Ignore, Abort };

class InstallEvents {
public:
    virtual ~InstallEvents() = default;
    virtual void Step() = 0;
    // The copy to `destination` failed: try again, leave the file out, or stop.
    virtual CopyAnswer CopyFailed(const std::string& destination) = 0;
    // A message the person may need to read (a folder that could not be
    // made, a rollback, a missing Data folder); `type` as for a message box.
    virtual void Say(const std::string& text, unsigned type) = 0;
};

// How a copy that keeps failing is answered when nobody is asked.
enum class CopyFailurePolicy {
    AskUser,  // the copy-failure question: Abort, Retry or Ignore
    Abort,    // nobody to ask: the deployment stops as if Abort were chosen
};

// The events as message boxes of the setup (services.prompts, whose answers
// may stand in for a person), a progress that may be null, and a policy for
// copy failures. A box that could not be shown answers Abort: retrying on it
// would loop for ever with nobody to ask.
class PromptingEvents : public InstallEvents {
public:
    PromptingEvents(const Services& services, IProgress* progress, CopyFailurePolicy policy)
        : services_(services), progress_(progress), policy_(policy) {}
    void Step() override;
    CopyAnswer CopyFailed(const std::string& destination) override;
    void Say(const std::string& text, unsigned type) override;

private:
    const Services& services_;
    IProgress* progress_;
    CopyFailurePolicy policy_;
};

}  // namespace vk
