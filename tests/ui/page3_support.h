#pragma once
// What the install page's and the folder picker's tests share. They run on
// the real machine under Wine: the page or the picker runs modally on the
// test's thread while a person on a second thread works its windows through
// the end-to-end driver, reads the message boxes and answers them.
#include "platform/win32/windows_api.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "e2e/driver/driver.h"

namespace vk::uitest {

// Runs `modal` on this thread while `person` works the windows from a second
// one. Whatever the person leaves open (message boxes, the picker, the page)
// is then cancelled, so `modal` always returns. A step of the person that
// failed fails the test with what was on screen.
void RunWithPerson(const std::function<void()>& modal, const std::function<void()>& person);

// For the person: waits with a deadline, failing with a screen dump.
e2e::Window WaitForWindow(const e2e::WindowQuery& query);
e2e::Window WaitForMessageBox(const std::string& caption);
void WaitUntilClosed(const e2e::Window& window);
void WaitUntil(const std::function<bool()>& condition, const std::string& what);

// The install page and the folder picker as the person finds them.
e2e::WindowQuery PageQuery();
e2e::WindowQuery PickerQuery(const std::string& caption = "请选择安装目录：");

// How a visit of the install page ended.
struct PageRun {
    INT_PTR result = 0;     // DoModal's
    int nextPage = -1;      // m_nNextPage
    int progressPos = -1;   // the bar when "安  装" last returned
    int progressHigh = -1;  // and the top of its range
};
// Runs the install page while `person` works it.
PageRun RunPage(const std::function<void(const e2e::Window& page)>& person);

// A message box as the person saw it.
struct SeenBox {
    std::string caption;
    std::string text;
    std::string icon;          // "stop", "exclamation", "question", "information" or "none"
    std::vector<int> buttons;  // IDOK, IDYES, ... in id order
    int defaultButton = 0;     // the one Enter presses
};
SeenBox Read(const e2e::Window& box);
// Reads the box that comes with `caption`, answers it with `button` and
// waits until it is gone.
SeenBox ReadAndAnswer(const std::string& caption, int button = IDOK);

// The control with the keyboard focus in the test's UI thread.
HWND FocusedControl();

// The caption of the framework's own message boxes: this program's name.
std::string AppName();
// The system's text for an HRESULT, as the framework shows it.
std::string SystemText(HRESULT hr);

// The installation context and the catalogue as a run of SetUp.exe starts
// them, on construction and again on destruction.
class FreshContext {
public:
    FreshContext();
    ~FreshContext();
    FreshContext(const FreshContext&) = delete;
    FreshContext& operator=(const FreshContext&) = delete;
};

// Files and folders a test may create: removed (with their content) before
// the test, in case a dead run left them, and after it.
class ScratchPaths {
public:
    ScratchPaths(std::initializer_list<std::string> paths);
    ~ScratchPaths();
    ScratchPaths(const ScratchPaths&) = delete;
    ScratchPaths& operator=(const ScratchPaths&) = delete;

private:
    std::vector<std::string> m_paths;
};

// The sample Data folder beside this program, as beside SetUp.exe, for the
// length of a test. Files() is how many files it holds.
class SampleData {
public:
    SampleData();
    ~SampleData();
    SampleData(const SampleData&) = delete;
    SampleData& operator=(const SampleData&) = delete;
    int Files() const { return m_files; }

private:
    int m_files = 0;
};

std::string AppDataFolder();  // %APPDATA%
std::string DataFolder();     // beside this program
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);

}  // namespace vk::uitest
