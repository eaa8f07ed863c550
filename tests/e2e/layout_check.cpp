#include "e2e/layout_check.h"

#include <algorithm>

#include "e2e/driver/host.h"
#include "e2e/driver/window_text.h"

namespace vk::e2e::setup {
namespace {

struct Child {
    HWND hwnd;
    int id;
    std::string className;
    LONG style;
    RECT screen;  // window rectangle, screen coordinates
    RECT client;  // client rectangle (its own coordinates)
};

std::vector<Child> visibleChildren(HWND window) {
    std::vector<Child> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        Child c{child,
                windowId(child),
                windowClass(child),
                static_cast<LONG>(GetWindowLongPtrA(child, GWL_STYLE)),
                {},
                {}};
        GetWindowRect(child, &c.screen);
        GetClientRect(child, &c.client);
        children.push_back(c);
    }
    return children;
}

std::string describe(const Child& child) {
    const std::string text = tryWindowText(child.hwnd).value_or("");
    return "control " + std::to_string(child.id) + " (" + child.className +
           (text.empty() ? "" : ", \"" + toUtf8(text) + "\"") + ")";
}

std::string describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

struct MemoryDc {
    MemoryDc() : dc(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() { DeleteDC(dc); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC dc;
};

// The room a text needs in `font`: wrapped at `width` when `wrap`, else on one line.
SIZE textNeeds(HFONT font, const std::string& text, LONG width, bool wrap) {
    const MemoryDc memory;
    const HGDIOBJ old = SelectObject(memory.dc, font);
    RECT r{0, 0, wrap ? width : 0, 0};
    DrawTextA(memory.dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(memory.dc, old);
    return {r.right - r.left, r.bottom - r.top};
}

LONG lineHeight(HFONT font) {
    const MemoryDc memory;
    const HGDIOBJ old = SelectObject(memory.dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(memory.dc, &metrics);
    SelectObject(memory.dc, old);
    return metrics.tmHeight;
}

// The text a control draws, and the room it has for it; nothing for controls whose text
// scrolls (edit boxes) or that draw none.
std::string textProblem(const Child& child, HFONT font, UINT dpi) {
    const LONG width = child.client.right - child.client.left;
    const LONG height = child.client.bottom - child.client.top;
    if (child.className == "Edit") {
        // A box shorter than a line cuts the text it holds.
        const LONG needs = lineHeight(font);
        return height >= needs ? ""
                               : describe(child) + ": " + std::to_string(height) +
                                     " pixels high for a line of " + std::to_string(needs);
    }
    std::string text = tryWindowText(child.hwnd).value_or("");
    if (text.empty())
        return "";
    LONG room = width;
    bool wrap = false;
    if (child.className == "Button") {
        const LONG type = child.style & BS_TYPEMASK;
        const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                         type == BS_AUTORADIOBUTTON;
        // A check mark and its gap, or the push button's edges.
        room -= box ? MulDiv(13 + 4, static_cast<int>(dpi), 96)
                    : MulDiv(2 * 3, static_cast<int>(dpi), 96);
    } else if (child.className == "Static") {
        const LONG type = child.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
            return "";
        wrap = type != SS_LEFTNOWORDWRAP;
    } else {
        return "";
    }
    const SIZE needs = textNeeds(font, text, room, wrap);
    if (needs.cx <= room && needs.cy <= height)
        return "";
    return describe(child) + ": its text needs " + std::to_string(needs.cx) + " x " +
           std::to_string(needs.cy) + " pixels, it has " + std::to_string(room) + " x " +
           std::to_string(height);
}

}  // namespace

MeasuringFont::MeasuringFont(int height, int weight, BYTE charSet, const char* face)
    : font_(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face)) {
    if (font_ == nullptr)
        throw DriverError(withLastError(std::string("could not make the font ") + face));
}

MeasuringFont::~MeasuringFont() {
    DeleteObject(font_);
}

std::vector<std::string> layoutProblems(const Window& window, const LayoutRules& rules) {
    std::vector<std::string> problems;
    RECT area{};
    GetClientRect(window.hwnd(), &area);
    MapWindowPoints(window.hwnd(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    const std::vector<Child> children = visibleChildren(window.hwnd());
    for (size_t i = 0; i < children.size(); ++i) {
        const Child& child = children[i];
        RECT bounds = child.screen;
        // A separator spans the page: the templates make it a little wider than the page,
        // so that it meets the right edge whatever the rounding; the edge clips the rest.
        if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ETCHEDHORZ)
            bounds.right = std::min(bounds.right, area.right);
        RECT inside{};
        if (!IntersectRect(&inside, &bounds, &area) || !EqualRect(&inside, &bounds))
            problems.push_back(describe(child) + " at " + describe(child.screen) +
                               " reaches out of the window's area " + describe(area));
        for (size_t j = i + 1; j < children.size(); ++j) {
            RECT both{};
            if (IntersectRect(&both, &child.screen, &children[j].screen))
                problems.push_back(describe(child) + " overlaps " + describe(children[j]) + " at " +
                                   describe(both));
        }
        if (const auto bitmap = rules.bitmaps.find(child.id); bitmap != rules.bitmaps.end()) {
            const SIZE shown{child.screen.right - child.screen.left,
                             child.screen.bottom - child.screen.top};
            if (shown.cx != bitmap->second.cx || shown.cy != bitmap->second.cy)
                problems.push_back(describe(child) + " shows its bitmap at " +
                                   std::to_string(shown.cx) + " x " + std::to_string(shown.cy) +
                                   ", not at " + std::to_string(bitmap->second.cx) + " x " +
                                   std::to_string(bitmap->second.cy));
            continue;
        }
        const auto named = rules.fonts.find(child.id);
        const MeasuringFont* font = named != rules.fonts.end() ? named->second : rules.body;
        if (std::string problem = textProblem(child, font->get(), rules.dpi); !problem.empty())
            problems.push_back(std::move(problem));
    }
    return problems;
}

}  // namespace vk::e2e::setup
