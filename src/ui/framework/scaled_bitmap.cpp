#include "ui/framework/scaled_bitmap.h"

#include <cstring>

#include "core/picture_scale.h"
#include "ui/framework/dpi.h"
#include "ui/framework/win_app.h"

namespace {

struct ScreenDc {
    ScreenDc() : dc(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc != nullptr)
            ::ReleaseDC(nullptr, dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC dc;
};

// 32 bits per pixel, top row first: the layout of vk::Picture.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

vk::Picture PixelsOf(HDC screen, HBITMAP bitmap) {
    BITMAP size{};
    if (::GetObjectA(bitmap, sizeof(size), &size) == 0 || size.bmWidth < 1 || size.bmHeight < 1)
        return {};
    vk::Picture picture{size.bmWidth, size.bmHeight,
                        std::vector<std::uint32_t>(static_cast<std::size_t>(size.bmWidth) *
                                                   static_cast<std::size_t>(size.bmHeight))};
    BITMAPINFO info = TopDown32(picture.width, picture.height);
    if (::GetDIBits(screen, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                    &info, DIB_RGB_COLORS) != picture.height)
        return {};
    return picture;
}

HBITMAP BitmapOf(HDC screen, const vk::Picture& picture) {
    BITMAPINFO info = TopDown32(picture.width, picture.height);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr)
        return bitmap;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        // Opaque: a bitmap read from a screen-compatible one has no alpha.
        pixels[i] = picture.pixels[i] | 0xFF000000u;
    }
    return bitmap;
}

}  // namespace

void CScaledBitmap::Show(HWND control, UINT bitmapId, UINT dpi) {
    if (control == nullptr || (dpi == kBaseDpi && !m_shown))
        return;  // the template's bitmap, pixel for pixel
    const OwnedBitmap source(static_cast<HBITMAP>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!source)
        return;
    const ScreenDc screen;
    const vk::Picture original = PixelsOf(screen.dc, source.Get());
    if (original.pixels.empty())
        return;
    OwnedBitmap scaled(
        BitmapOf(screen.dc, vk::ScalePicture(original, ScaleToDpi(original.width, dpi),
                                             ScaleToDpi(original.height, dpi))));
    if (!scaled)
        return;
    const auto previous = reinterpret_cast<HBITMAP>(::SendMessageA(
        control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.Get())));
    if (previous != nullptr && previous != m_shown.Get())
        m_template.Reset(previous);
    m_shown = std::move(scaled);
}
