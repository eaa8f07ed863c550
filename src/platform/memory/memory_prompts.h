#pragma once
// Message boxes answered by a script instead of a person: queued answers
// first, then a callback, and otherwise the box's default (first) button, as
// pressing Enter would. Every box shown is recorded.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/memory/fault_injector.h"
#include "platform/prompts.h"

namespace vk::memory {

struct PromptRecord {
    WindowRef owner = 0;
    std::string text;
    std::string caption;
    unsigned type = 0;
};

class MemoryPrompts : public IPrompts {
public:
    using Responder = std::function<int(const PromptRecord&)>;

    // Fault name: "MessageBox" (a failed box shows nothing and answers 0).
    // MainWindow is neither counted nor failed.
    explicit MemoryPrompts(FaultInjector* faults = nullptr) : faults_(faults) {}

    // IPrompts
    WindowRef MainWindow() override { return mainWindow_; }
    int MessageBox(WindowRef owner, const std::string& text, const std::string& caption,
                   unsigned type) override;

    void SetMainWindow(WindowRef window) { mainWindow_ = window; }
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    // Asked for every box once the queued answers are used up.
    void SetResponder(Responder responder) { responder_ = std::move(responder); }

    const std::vector<PromptRecord>& Records() const { return records_; }
    std::size_t Count() const { return records_.size(); }

private:
    FaultInjector* faults_;
    WindowRef mainWindow_ = 0;
    std::deque<int> answers_;
    Responder responder_;
    std::vector<PromptRecord> records_;
};

}  // namespace vk::memory
