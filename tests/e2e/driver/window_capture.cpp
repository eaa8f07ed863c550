#include "e2e/driver/window_capture.h"

#include <cstdint>
#include <string>
#include <utility>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/files.h"

namespace vk::e2e {
namespace {

// A window's DC, given back to the window on every way out.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr)
            ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class Bitmap {
public:
    explicit Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap() {
        if (bitmap_ != nullptr)
            DeleteObject(bitmap_);
    }
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// Puts the DC's previous object back, so the bitmap can be read and deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

size_t rowBytes(int width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
}

template <typename T>
void append(std::string& out, T value) {
    for (size_t i = 0; i < sizeof value; ++i)
        out.push_back(static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF));
}

}  // namespace

Picture captureWindow(HWND hwnd) {
    RECT frame{};
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &frame))
        throw DriverError("cannot capture a window that no longer exists");
    Picture picture;
    picture.width = frame.right - frame.left;
    picture.height = frame.bottom - frame.top;
    if (picture.width <= 0 || picture.height <= 0)
        throw DriverError("cannot capture a window of no size");

    const WindowDc source(hwnd);
    if (source.get() == nullptr)
        throw DriverError(withLastError("GetWindowDC failed"));
    const MemoryDc copy(source.get());
    const Bitmap bitmap(CreateCompatibleBitmap(source.get(), picture.width, picture.height));
    if (copy.get() == nullptr || bitmap.get() == nullptr)
        throw DriverError(withLastError("no memory for a picture of the window"));
    {
        const SelectGuard selected(copy.get(), bitmap.get());
        if (!BitBlt(copy.get(), 0, 0, picture.width, picture.height, source.get(), 0, 0, SRCCOPY))
            throw DriverError(withLastError("BitBlt from the window failed"));
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.height;  // positive: bottom row first, as BMP files keep it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    picture.pixels.resize(rowBytes(picture.width) * static_cast<size_t>(picture.height));
    if (GetDIBits(copy.get(), bitmap.get(), 0, static_cast<UINT>(picture.height),
                  picture.pixels.data(), &info, DIB_RGB_COLORS) != picture.height) {
        throw DriverError(withLastError("GetDIBits could not read the picture"));
    }
    return picture;
}

void saveBmp(const Picture& picture, const std::string& path) {
    constexpr uint32_t kHeaderBytes = 14 + 40;
    const size_t imageBytes = picture.pixels.size();
    if (imageBytes != rowBytes(picture.width) * static_cast<size_t>(picture.height))
        throw DriverError("a picture whose pixels do not match its size cannot be saved");
    std::string file;
    file.reserve(kHeaderBytes + imageBytes);
    // BITMAPFILEHEADER
    file += "BM";
    append<uint32_t>(file, static_cast<uint32_t>(kHeaderBytes + imageBytes));
    append<uint32_t>(file, 0);
    append<uint32_t>(file, kHeaderBytes);
    // BITMAPINFOHEADER
    append<uint32_t>(file, 40);
    append<int32_t>(file, picture.width);
    append<int32_t>(file, picture.height);
    append<uint16_t>(file, 1);
    append<uint16_t>(file, 24);
    append<uint32_t>(file, BI_RGB);
    append<uint32_t>(file, static_cast<uint32_t>(imageBytes));
    append<int32_t>(file, 3780);  // 96 dpi, in pixels per metre
    append<int32_t>(file, 3780);
    append<uint32_t>(file, 0);
    append<uint32_t>(file, 0);
    file.append(reinterpret_cast<const char*>(picture.pixels.data()), imageBytes);
    writeFile(path, file);
}

}  // namespace vk::e2e
