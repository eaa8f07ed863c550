#include "ui/page3_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "acad/release_catalog.h"
#include "e2e/driver/window_dump.h"
#include "e2e/driver/window_text.h"
#include "install_actions_support.h"
#include "model/install_context.h"
#include "platform/win32/system_services.h"
#include "platform/win32/today.h"
#include "ui/framework/win_app.h"
#include "ui/pages/dlg_page3.h"
#include "wine_machine.h"

namespace {

std::string ModulePath() {
    std::string path(32768, '\0');
    path.resize(::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

}  // namespace

// The program's objects as SetUp.exe defines them, on the real machine; the
// application is named after this test program, as SetUp.exe after itself.
CWinApp theTestApp(AppNameFromModulePath(ModulePath()).c_str());
CAcadReleaseCatalog theCatalog(vk::win32::SystemServices());

namespace vk::uitest {
namespace {

constexpr e2e::TimeoutMs kCloseDeadlineMs = 60'000;

// The frontmost window of this process that a person could use: a message box
// to answer, or the picker or page to cancel.
void CloseFrontWindow() {
    for (HWND window : e2e::topLevelWindows(::GetCurrentProcessId())) {
        if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) {
            continue;
        }
        if (::GetDlgItem(window, e2e::kMessageBoxTextId) != nullptr) {
            for (int button : {IDCANCEL, IDNO, IDOK, IDABORT}) {
                if (const HWND control = ::GetDlgItem(window, button)) {
                    ::PostMessageA(control, BM_CLICK, 0, 0);
                    return;
                }
            }
        }
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return;
    }
}

DWORD g_uiThread = 0;

}  // namespace

void RunWithPerson(const std::function<void()>& modal, const std::function<void()>& person) {
    g_uiThread = ::GetCurrentThreadId();
    std::atomic<bool> modalEnded{false};
    std::string failure;
    std::thread helper([&] {
        try {
            person();
        } catch (const std::exception& error) {
            failure = error.what();
        }
        const ULONGLONG deadline = ::GetTickCount64() + kCloseDeadlineMs;
        while (!modalEnded && ::GetTickCount64() < deadline) {
            CloseFrontWindow();
            ::Sleep(100);
        }
    });
    try {
        modal();
    } catch (...) {
        modalEnded = true;
        helper.join();
        throw;
    }
    modalEnded = true;
    helper.join();
    if (!failure.empty()) {
        ADD_FAILURE() << failure;
    }
}

void WaitUntil(const std::function<bool()>& condition, const std::string& what) {
    const ULONGLONG deadline = ::GetTickCount64() + e2e::kDefaultTimeoutMs;
    std::string lastError;
    for (;;) {
        try {
            if (condition()) {
                return;
            }
        } catch (const e2e::DriverError& error) {
            lastError = error.what();  // a window still being built
        }
        if (::GetTickCount64() > deadline) {
            throw e2e::DriverError("waited in vain for " + what + "\n" + lastError + "\n" +
                                   e2e::describeProcessWindows(::GetCurrentProcessId()));
        }
        ::Sleep(20);
    }
}

e2e::Window WaitForWindow(const e2e::WindowQuery& query) {
    std::optional<e2e::Window> found;
    WaitUntil(
        [&] {
            found = e2e::findWindow(::GetCurrentProcessId(), query);
            return found.has_value();
        },
        e2e::describeQuery(query));
    return *found;
}

e2e::Window WaitForMessageBox(const std::string& caption) {
    return WaitForWindow(e2e::messageBoxQuery(caption));
}

void WaitUntilClosed(const e2e::Window& window) {
    // Nothing is read from the window: it may be gone already.
    WaitUntil([&] { return !window.exists() || !window.visible(); }, "a window to close");
}

namespace {

// The install page, noting where its bar stands each time "安  装" returns
// (the page has ended by then, but its window is still there).
// The wizard's model on this program's catalogue; a test program carries no
// logon program, so a stand-in's bytes are placed.
vk::WizardModel s_model{theCatalog, vk::win32::Today(), "MZ logon program stand-in"};

class RecordingPage : public Dlg_Page3 {
public:
    RecordingPage() : Dlg_Page3(s_model) {}
    int m_nProgressPos = -1;
    int m_nProgressHigh = -1;

protected:
    void OnOK() override {
        Dlg_Page3::OnOK();
        m_nProgressPos = static_cast<int>(m_progress.SendMessage(PBM_GETPOS));
        m_nProgressHigh = static_cast<int>(m_progress.SendMessage(PBM_GETRANGE, FALSE));
    }
};

}  // namespace

PageRun RunPage(const std::function<void(const e2e::Window& page)>& person) {
    PageRun run;
    RunWithPerson(
        [&] {
            RecordingPage page;
            run.result = page.DoModal();
            run.nextPage = page.m_nNextPage;
            run.progressPos = page.m_nProgressPos;
            run.progressHigh = page.m_nProgressHigh;
        },
        [&] { person(WaitForWindow(PageQuery())); });
    return run;
}

e2e::WindowQuery PageQuery() {
    e2e::WindowQuery query;
    query.description = "the install page";
    query.caption = "Varnok批打印软件安装";
    query.withControls = {1000, 1003};
    return query;
}

e2e::WindowQuery PickerQuery(const std::string& caption) {
    e2e::WindowQuery query;
    query.description = "the folder picker";
    query.caption = caption;
    query.withControls = {14145};
    return query;
}

namespace {

std::string IconName(HICON icon) {
    if (icon == nullptr) {
        return "none";
    }
    const std::pair<LPCSTR, const char*> known[] = {{IDI_HAND, "stop"},
                                                    {IDI_EXCLAMATION, "exclamation"},
                                                    {IDI_QUESTION, "question"},
                                                    {IDI_ASTERISK, "information"}};
    for (const auto& [id, name] : known) {
        if (icon == ::LoadIconA(nullptr, id)) {
            return name;
        }
    }
    return "unknown";
}

}  // namespace

SeenBox Read(const e2e::Window& box) {
    SeenBox seen{box.caption(), box.messageText(), "none", {}};
    for (HWND child = ::GetWindow(box.hwnd(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) {
            continue;
        }
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        const std::string cls = e2e::windowClass(child);
        if (::lstrcmpiA(cls.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            seen.icon = IconName(reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0)));
        } else if (::lstrcmpiA(cls.c_str(), "Button") == 0) {
            seen.buttons.push_back(e2e::windowId(child));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                seen.defaultButton = e2e::windowId(child);
            }
        }
    }
    std::sort(seen.buttons.begin(), seen.buttons.end());
    return seen;
}

SeenBox ReadAndAnswer(const std::string& caption, int button) {
    const e2e::Window box = WaitForMessageBox(caption);
    SeenBox seen = Read(box);
    box.answer(button);
    WaitUntilClosed(box);
    return seen;
}

HWND FocusedControl() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(g_uiThread, &info) ? info.hwndFocus : nullptr;
}

std::string AppName() {
    return AfxGetAppName();
}

std::string SystemText(HRESULT hr) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer != nullptr ? buffer : "", length);
    ::LocalFree(buffer);
    return text;
}

namespace {

void ResetContext() {
    g_strInstallFolder = "C:\\Varnok";
    g_nAgreeChoice = 1;
    std::fill(std::begin(g_bReleaseSelected), std::end(g_bReleaseSelected), 1);
    g_bWarnAcadRunning = true;
    for (CStringList& list : theCatalog.m_arrAcadLocations) {
        list.clear();
    }
    for (CStringList& list : theCatalog.m_arrProductKeys) {
        list.clear();
    }
    theCatalog.m_strInstallDir.clear();
}

}  // namespace

FreshContext::FreshContext() {
    ResetContext();
}

FreshContext::~FreshContext() {
    ResetContext();
}

ScratchPaths::ScratchPaths(std::initializer_list<std::string> paths) : m_paths(paths) {
    for (const std::string& path : m_paths) {
        systest::RemoveTree(path);
    }
}

ScratchPaths::~ScratchPaths() {
    for (auto path = m_paths.rbegin(); path != m_paths.rend(); ++path) {
        systest::RemoveTree(*path);
    }
}

std::string DataFolder() {
    return systest::ProgramFolder() + "\\Data";
}

std::string AppDataFolder() {
    return systest::AppDataFolder();
}

SampleData::SampleData() {
    const std::string data = DataFolder();
    systest::RemoveTree(data);
    if (!::CreateDirectoryA(data.c_str(), nullptr)) {
        ADD_FAILURE() << "cannot create " << data;
        return;
    }
    const std::string samples = systest::FixturePath("sample-data");
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA((samples + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no sample data at " << samples;
        return;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const std::string name = entry.cFileName;
        if (::CopyFileA((samples + "\\" + name).c_str(), (data + "\\" + name).c_str(), FALSE)) {
            ++m_files;
        } else {
            ADD_FAILURE() << "cannot copy the sample file " << name;
        }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
}

SampleData::~SampleData() {
    systest::RemoveTree(DataFolder());
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
    return systest::IsFolder(path);
}

}  // namespace vk::uitest
