#include "ui/framework/win_app.h"

namespace {

CWinApp* g_pRunningApp = nullptr;

// GetModuleFileNameA into a buffer that grows until the whole path fits.
std::string ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD copied =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (copied == 0) {
            return {};
        }
        if (copied < path.size()) {
            path.resize(copied);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

CWinApp::CWinApp(const char* pszAppName) {
    if (pszAppName != nullptr) {
        m_strAppName = pszAppName;
    }
    g_pRunningApp = this;
}

CWinApp::~CWinApp() {
    if (g_pRunningApp == this) {
        g_pRunningApp = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

CWinApp* AfxGetApp() {
    return g_pRunningApp;
}

HINSTANCE AfxGetResourceHandle() {
    return g_pRunningApp != nullptr && g_pRunningApp->m_hInstance != nullptr
               ? g_pRunningApp->m_hInstance
               : ::GetModuleHandleA(nullptr);
}

const char* AfxGetAppName() {
    return g_pRunningApp != nullptr ? g_pRunningApp->m_strAppName.c_str() : "";
}

std::string AppNameFromModulePath(const std::string& modulePath) {
    // CharNextA steps over whole characters: a trail byte may be 0x5C or '.'.
    const char* const begin = modulePath.c_str();
    const char* nameStart = begin;
    const char* lastDot = nullptr;
    for (const char* p = begin; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            nameStart = p + 1;
            lastDot = nullptr;
        } else if (*p == '.') {
            lastDot = p;
        }
    }
    const char* nameEnd = lastDot != nullptr ? lastDot : begin + modulePath.size();
    return std::string(nameStart, nameEnd);
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->m_hInstance = hInstance;
    if (app->m_strAppName.empty()) {
        app->m_strAppName = AppNameFromModulePath(ModuleFileName());
    }
    if (app->InitInstance()) {
        return app->Run();
    }
    return app->ExitInstance();
}
