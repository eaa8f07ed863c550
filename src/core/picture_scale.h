#pragma once
// Scaling a picture for a screen of more (or fewer) dots per inch: the wizard's
// bitmaps are drawn for 96 DPI and shown at the size the page gives them.
#include <cstdint>
#include <vector>

namespace vk {

// Pixels of four 8-bit channels each (as Windows' 32-bit DIBs hold them),
// row by row, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const Picture&) const = default;
};

// `picture` at `width` x `height` (nothing when either it or they are empty). Enlarged first by
// whole pixels (each copied) to the least whole multiple at least as large, then reduced by
// averaging, per channel, the area each new pixel covers: a whole factor doubles pixels exactly, so
// drawn text stays sharp, and 1.5 times leaves an edge at most one softened pixel wide.
Picture ScalePicture(const Picture& picture, int width, int height);

}  // namespace vk
