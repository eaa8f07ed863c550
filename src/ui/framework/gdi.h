#pragma once
// GDI objects the pages own (a brush, a font), each deleted exactly once when
// its owner goes, and a device context that is only borrowed.
#include "platform/win32/gbk_text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static GdiHandle Empty() { return nullptr; }
    static void Close(GdiHandle object) { DeleteObject(object); }
};

// An owned brush; empty until created or attached.
class CBrush {
public:
    BOOL CreateSolidBrush(COLORREF colour) {
        m_brush.Reset(::CreateSolidBrush(colour));
        return m_brush ? TRUE : FALSE;
    }
    // Takes ownership of `brush` (the previous one, if any, is deleted).
    void Attach(HBRUSH brush) { m_brush.Reset(brush); }
    HBRUSH GetSafeHandle() const { return m_brush.Get(); }

private:
    vk::win32::UniqueHandle<GdiObjectTraits<HBRUSH>> m_brush;
};

// An owned font; empty until created.
class CFont {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName) {
        // The face by its GBK name, read as code page 936 whatever the
        // machine's: "宋体" is found wherever SimSun is installed.
        m_font.Reset(::CreateFontW(height, width, escapement, orientation, weight, italic,
                                   underline, strikeOut, charSet, outPrecision, clipPrecision,
                                   quality, pitchAndFamily, vk::win32::Wide(faceName).c_str()));
        return m_font ? TRUE : FALSE;
    }
    HFONT GetSafeHandle() const { return m_font.Get(); }

private:
    vk::win32::UniqueHandle<GdiObjectTraits<HFONT>> m_font;
};

// A device context lent by the system for one message; never released here.
class CDC {
public:
    explicit CDC(HDC dc) : m_hDC(dc) {}
    // Selects `font` and answers the font it replaced.
    HFONT SelectObject(const CFont& font) {
        return static_cast<HFONT>(::SelectObject(m_hDC, font.GetSafeHandle()));
    }
    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

    HDC m_hDC;
};
