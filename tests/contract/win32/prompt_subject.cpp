// The prompts contract's subject on Windows: real message boxes, whose
// buttons a helper thread presses as a person would.
#include <string>
#include <thread>

#include "contract/contract_subject.h"
#include "platform/win32/win32_prompts.h"
#include "platform/win32/windows_api.h"

namespace vk::contract {
namespace {

// Waits (with a deadline) for a message box with this caption and presses `button`.
void PressWhenShown(const std::string& caption, int button) {
    // GetTickCount64, not <chrono>: <chrono> holds a literal GBK cannot encode.
    const ULONGLONG deadline = GetTickCount64() + 20 * 1000;
    while (GetTickCount64() < deadline) {
        if (HWND box = FindWindowA("#32770", caption.c_str())) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            return;
        }
        Sleep(20);
    }
}

class Win32PromptScratch : public PromptScratch {
public:
    ~Win32PromptScratch() override { Finish(); }

    IPrompts& Prompts() override { return prompts_; }

    void AnswerNext(const std::string& caption, int button) override {
        Finish();  // one box at a time, as the setup shows them
        presser_ = std::thread(PressWhenShown, caption, button);
    }

private:
    void Finish() {
        if (presser_.joinable()) {
            presser_.join();
        }
    }

    win32::Win32Prompts prompts_;
    std::thread presser_;
};

}  // namespace

std::unique_ptr<PromptScratch> MakePromptScratch() {
    return std::make_unique<Win32PromptScratch>();
}

}  // namespace vk::contract
