#pragma once
// The small window of a /SILENT installation: the wizard's caption, one line
// of text and a progress bar, shown for as long as the object lives. It is
// the installation's progress: each step moves the bar and lets the window
// paint, since the installation runs on this thread.
#include "platform/progress.h"
#include "platform/win32/windows_api.h"

class CSilentProgressWindow final : public vk::IProgress {
public:
    CSilentProgressWindow();
    ~CSilentProgressWindow() override;
    CSilentProgressWindow(const CSilentProgressWindow&) = delete;
    CSilentProgressWindow& operator=(const CSilentProgressWindow&) = delete;

    void Step() override;
    // Fills the bar: the installation is over.
    void Finish();

    HWND Handle() const { return m_hWnd; }

private:
    void PumpMessages();

    HWND m_hWnd = nullptr;
};
