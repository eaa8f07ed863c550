#pragma once
// What a person sees as a broken layout, read from another process's window: a visible
// control reaching out of the window's client area (a separator only past its right edge), two
// visible controls overlapping, a text that does not fit its control (measured in the font the
// control draws it with), a bitmap not at the size the DPI gives it.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/driver/window.h"

namespace vk::e2e::setup {

// A font of this process, made like the one the program under test draws with (GDI
// handles do not cross processes); deleted with the object.
class MeasuringFont {
public:
    // `height` in pixels, as CreateFont takes it (negative: the character height).
    MeasuringFont(int height, int weight, BYTE charSet, const char* face);
    MeasuringFont(const MeasuringFont&) = delete;
    MeasuringFont& operator=(const MeasuringFont&) = delete;
    ~MeasuringFont();
    HFONT get() const { return font_; }

private:
    HFONT font_;
};

struct LayoutRules {
    UINT dpi = 96;
    const MeasuringFont* body = nullptr;        // every text, unless named below
    std::map<int, const MeasuringFont*> fonts;  // by control id
    std::map<int, SIZE> bitmaps;                // SS_BITMAP statics by id: their size at `dpi`
};

// One line per problem; empty when the window is laid out well.
std::vector<std::string> layoutProblems(const Window& window, const LayoutRules& rules);

}  // namespace vk::e2e::setup
