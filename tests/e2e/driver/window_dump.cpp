#include "e2e/driver/window_dump.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/window_text.h"

namespace vk::e2e {
namespace {

// A dump must come quickly even from a hung program.
constexpr UINT kDumpTimeoutMs = 1000;
constexpr size_t kTextChars = 160;

std::string hex(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(pointer)));
    return text;
}

std::string quotedText(HWND hwnd) {
    const std::optional<std::string> text = tryWindowText(hwnd, kDumpTimeoutMs);
    if (!text)
        return "<no answer>";
    std::string quoted = "\"";  // built by appending: GCC 12 misreports "x" + temporary
    quoted += toUtf8Line(*text, kTextChars);
    return quoted += '"';
}

bool isCheckable(HWND hwnd) {
    switch (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

std::string states(HWND hwnd, HWND focus) {
    std::string line = IsWindowEnabled(hwnd) ? " enabled" : " disabled";
    line += IsWindowVisible(hwnd) ? " visible" : " hidden";
    const std::string cls = windowClass(hwnd);
    if (lstrcmpiA(cls.c_str(), "Button") == 0 && isCheckable(hwnd)) {
        const std::optional<LRESULT> check = trySend(hwnd, BM_GETCHECK, 0, 0, kDumpTimeoutMs);
        line += !check                    ? " check=?"
                : *check == BST_CHECKED   ? " checked"
                : *check == BST_UNCHECKED ? " unchecked"
                                          : " indeterminate";
    } else if (lstrcmpiA(cls.c_str(), PROGRESS_CLASSA) == 0) {
        const std::optional<LRESULT> pos = trySend(hwnd, PBM_GETPOS, 0, 0, kDumpTimeoutMs);
        line += " pos=" + (pos ? std::to_string(*pos) : std::string("?"));
    }
    if (hwnd == focus)
        line += " focused";
    return line;
}

int depthBelow(HWND top, HWND child) {
    int depth = 0;
    for (HWND h = child; h != nullptr && h != top; h = GetParent(h))
        ++depth;
    return depth;
}

void describeControls(HWND top, HWND focus, std::string& out) {
    std::vector<HWND> children;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        out += std::string(static_cast<size_t>(2 + 2 * depthBelow(top, child)), ' ');
        out += "id " + std::to_string(windowId(child)) + " class \"" + toUtf8(windowClass(child)) +
               "\" text " + quotedText(child) + states(child, focus) + "\n";
    }
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->processId)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string describeProcessWindows(DWORD processId) {
    std::string out = "Windows of process " + std::to_string(processId) + ":\n";
    size_t hidden = 0;
    for (HWND top : topLevelWindows(processId)) {
        if (!IsWindowVisible(top)) {
            ++hidden;
            continue;
        }
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)
                         ? info.hwndFocus
                         : nullptr;
        out += "window " + hex(top) + " class \"" + toUtf8(windowClass(top)) + "\" caption " +
               quotedText(top) + states(top, focus) + "\n";
        describeControls(top, focus, out);
    }
    if (hidden > 0)
        out += "(and " + std::to_string(hidden) + " hidden top-level windows)\n";
    return out;
}

}  // namespace vk::e2e
