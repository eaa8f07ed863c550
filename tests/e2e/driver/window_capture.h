#pragma once
// A picture of a window as it is on screen, title bar and frame included: copied with BitBlt
// from its window DC. Nothing grabs the display and nothing waits for the window to repaint,
// so a capture cannot hang on a window that is slow, hung or gone (Wine's WM_PRINT would
// leave the frame out).
#include <windows.h>

#include <string>
#include <vector>

namespace vk::e2e {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // 24-bit BGR, bottom row first, rows padded to 4 bytes

    bool operator==(const Picture&) const = default;
};

// Throws DriverError when the window is gone or GDI refuses.
Picture captureWindow(HWND hwnd);

// The picture as a 24-bit BMP file. Throws DriverError.
void saveBmp(const Picture& picture, const std::string& path);

}  // namespace vk::e2e
