#pragma once
// The setup's application object: discovers the AutoCAD releases, then shows
// the wizard's pages one after another until one of them ends the wizard.
#include "ui/framework/win_app.h"

class CWizardApp : public CWinApp {
public:
    CWizardApp();  // no name: the framework names the app after SetUp.exe
    ~CWizardApp() override;

    // Runs discovery and the page loop; always FALSE (no message loop follows).
    BOOL InitInstance() override;
};
