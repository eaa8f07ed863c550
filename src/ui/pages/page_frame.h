#pragma once
// The frame the four wizard pages share: the light-green background brush,
// the bold dark-green version line, the caption icon, and the colour handler.
#include <string>

#include "ui/framework/dialog.h"
#include "ui/framework/gdi.h"
#include "ui/framework/scaled_bitmap.h"

// Which control shows the version line, and which control (if any) keeps an
// opaque text background. Variant A: pages 1 and 2; variant B: pages 3 and 4.
struct ColourVariant {
    int versionLineId;
    int opaqueControlId;  // 0: none
};
inline constexpr ColourVariant kColourVariantA{1011, 0};
inline constexpr ColourVariant kColourVariantB{1013, 1000};

inline constexpr COLORREF kPageGreen = RGB(170, 210, 150);
inline constexpr COLORREF kVersionLineGreen = RGB(10, 70, 40);

class CPageFrame {
public:
    explicit CPageFrame(ColourVariant variant) : m_variant(variant) {}

    // The frame steps after the base class's OnInitDialog: the brush, the
    // version line (skipped when `version` is null) and the small icon; then
    // what depends on the page's DPI (ApplyDpi).
    void Init(CWnd& page, std::string* version);
    // For the DPI the page is shown at: the version line's font (12 pixels at
    // 96 DPI) and the page's bitmaps (the header emblem, page 4's menu picture),
    // scaled alike. Again whenever the page moves to a screen of another DPI.
    void ApplyDpi(CWnd& page);
    // What the page's OnCtlColor does after the default processing: black
    // text, transparent background (except the opaque control), the version
    // line's font and colour; answers the page brush.
    HBRUSH CtlColor(CDC* pDC, CWnd* pWnd);

    CBrush m_brush;

private:
    ColourVariant m_variant;
    // Lives as long as the page: it stays selected while the control draws.
    CFont m_versionFont;
    CScaledBitmap m_header;
    CScaledBitmap m_menuPicture;
};
