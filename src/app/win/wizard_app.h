#pragma once
// The setup's application object: discovers the AutoCAD releases, then shows
// the wizard's pages one after another until one of them ends the wizard, or
// installs unattended when the command line asks for it.
#include "app/command_line.h"
#include "ui/framework/win_app.h"

class CWizardApp : public CWinApp {
public:
    CWizardApp();  // no name: the framework names the app after SetUp.exe
    ~CWizardApp() override;

    // Runs discovery, then the page loop or the unattended installation;
    // always FALSE (no message loop follows).
    BOOL InitInstance() override;
    // The exit code of the run (exit_codes.h).
    int ExitInstance() override;

    // What the command line asked for; set before the framework starts the app.
    vk::SetupOptions m_options;

private:
    // The page loop; the exit code.
    int RunWizard();
    // The command line's choices as the pages' starting point; the exit code
    // that refuses them, or 0.
    int ApplyOptionsToWizard();
    int RunUnattendedInstallation();
    // /SAVEINF: the install folder and the releases ticked, once the install
    // page has run the installation.
    void SaveChoicesMade() const;

    int m_nExitCode = 0;
};
