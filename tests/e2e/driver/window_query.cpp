#include "e2e/driver/window_query.h"

#include <utility>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/window_dump.h"
#include "e2e/driver/window_text.h"

namespace vk::e2e {
namespace {

std::string idList(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : ", ") + std::to_string(id);
    return text;
}

}  // namespace

WindowQuery messageBoxQuery(std::string caption) {
    WindowQuery query;
    query.description = "message box \"" + toUtf8(caption) + "\"";
    query.caption = std::move(caption);
    query.withControls = {kMessageBoxTextId};
    return query;
}

bool matches(HWND hwnd, const WindowQuery& query) {
    if (!IsWindowVisible(hwnd))
        return false;
    if (!query.className.empty() && windowClass(hwnd) != query.className)
        return false;
    for (int id : query.withControls) {
        if (GetDlgItem(hwnd, id) == nullptr)
            return false;
    }
    for (int id : query.withoutControls) {
        if (GetDlgItem(hwnd, id) != nullptr)
            return false;
    }
    // The caption last: it is the only check that needs an answer from the program.
    const std::optional<std::string> caption = tryWindowText(hwnd, 1000);
    return caption && *caption == query.caption;
}

std::optional<Window> findWindow(DWORD processId, const WindowQuery& query) {
    for (HWND hwnd : topLevelWindows(processId)) {
        if (matches(hwnd, query))
            return Window(hwnd, processId);
    }
    return std::nullopt;
}

std::string describeQuery(const WindowQuery& query) {
    std::string text = query.description.empty() ? "a window" : query.description;
    text += " (class \"" + query.className + "\", caption \"" + toUtf8(query.caption) + "\"";
    if (!query.withControls.empty())
        text += ", with controls " + idList(query.withControls);
    if (!query.withoutControls.empty()) {
        text += ", without controls " + idList(query.withoutControls);
    }
    return text + ")";
}

}  // namespace vk::e2e
