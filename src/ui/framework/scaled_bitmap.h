#pragma once
// A bitmap of the program's resources in a static control (SS_BITMAP), at the
// size a DPI gives it: at 96 DPI the one the dialog template loaded, untouched;
// at any other, its pixels scaled by dpi / 96 (the static control takes the
// new size). Owns the bitmap it puts in, and the control's own once replaced
// (the control deletes only a bitmap it still holds and loaded itself).
#include "ui/framework/gdi.h"

class CScaledBitmap {
public:
    // Shows bitmap resource `bitmapId` in `control` for `dpi`; on any failure
    // the control keeps what it shows.
    void Show(HWND control, UINT bitmapId, UINT dpi);

private:
    using OwnedBitmap = vk::win32::UniqueHandle<GdiObjectTraits<HBITMAP>>;
    OwnedBitmap m_shown;     // put into the control by Show
    OwnedBitmap m_template;  // the control's own, taken back from it
};
