#pragma once
// The application object: one per program, registered when it is constructed
// (a static object), started by the framework's entry with InitInstance.
#include <string>

#include "platform/win32/windows_api.h"

class CWinApp {
public:
    // Without a name the application is named after its program file
    // (folder and extension dropped), as the caption of the framework's messages.
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE: the program ends without a message loop.
    virtual BOOL InitInstance();
    // The message loop, entered only when InitInstance answers TRUE.
    virtual int Run();
    // The process's exit status.
    virtual int ExitInstance();

    std::string m_strAppName;
    HINSTANCE m_hInstance = nullptr;
};

// The registered application object (null before one is constructed).
CWinApp* AfxGetApp();
// The module that holds the dialog templates, bitmaps and icons.
HINSTANCE AfxGetResourceHandle();
// The caption of the framework's own message boxes.
const char* AfxGetAppName();

// The framework's entry, called by WinMain: names the application, runs
// InitInstance (and Run when it asks for it), and answers the exit status.
int AfxWinMain(HINSTANCE hInstance);

// The program file's name without folder and extension ("SetUp" for
// "C:\dist\SetUp.exe"); double-byte characters are kept whole.
std::string AppNameFromModulePath(const std::string& modulePath);
