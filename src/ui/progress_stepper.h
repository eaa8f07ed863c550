#pragma once
// The install page's progress bar as the installation steps it. Each step is
// drawn at once: the installation runs inside a click handler, so the page's
// message loop would not paint the bar before the work is done.
#include "platform/progress.h"
#include "ui/framework/controls.h"

class CProgressStepper final : public vk::IProgress {
public:
    explicit CProgressStepper(CProgressCtrl& bar) : m_bar(bar) {}

    void Step() override {
        m_bar.StepIt();
        ::UpdateWindow(m_bar.m_hWnd);
    }

private:
    CProgressCtrl& m_bar;
};
