#include "core/picture_scale.h"

#include <algorithm>
#include <array>

namespace vk {
namespace {

// Each pixel repeated `factor` times across and down.
Picture Enlarged(const Picture& picture, int factor) {
    Picture out{picture.width * factor, picture.height * factor, {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        const std::uint32_t* row = &picture.pixels[static_cast<std::size_t>(y / factor) *
                                                   static_cast<std::size_t>(picture.width)];
        for (int x = 0; x < out.width; ++x) {
            out.pixels.push_back(row[x / factor]);
        }
    }
    return out;
}

// Along one axis: `count` source pixels reduced to `target` (at most `count`);
// pixel(i) reads the i-th source pixel, store(j, value) writes the j-th result.
// Each result averages the source span [j * count / target, (j + 1) * count / target),
// its end pixels weighted by the part the span covers (in units of 1 / target).
template <typename Read, typename Write>
void Reduce(int count, int target, Read pixel, Write store) {
    for (int j = 0; j < target; ++j) {
        const long long begin = static_cast<long long>(j) * count;  // in 1 / target units
        const long long end = static_cast<long long>(j + 1) * count;
        std::array<long long, 4> sum{};
        for (long long i = begin / target; i * target < end; ++i) {
            const long long from = std::max(begin, i * target);
            const long long to = std::min(end, (i + 1) * target);
            const std::uint32_t value = pixel(static_cast<int>(i));
            for (int channel = 0; channel < 4; ++channel) {
                sum[static_cast<std::size_t>(channel)] +=
                    static_cast<long long>((value >> (8 * channel)) & 0xFF) * (to - from);
            }
        }
        std::uint32_t result = 0;
        for (int channel = 0; channel < 4; ++channel) {
            // Rounded to the nearest level.
            const long long level = (sum[static_cast<std::size_t>(channel)] + count / 2) / count;
            result |= static_cast<std::uint32_t>(level) << (8 * channel);
        }
        store(j, result);
    }
}

}  // namespace

Picture ScalePicture(const Picture& picture, int width, int height) {
    if (picture.width < 1 || picture.height < 1 || width < 1 || height < 1)
        return {};
    const int factor = std::max({1, (width + picture.width - 1) / picture.width,
                                 (height + picture.height - 1) / picture.height});
    const Picture large = factor == 1 ? picture : Enlarged(picture, factor);
    // Across, then down.
    Picture across{width, large.height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                              static_cast<std::size_t>(large.height))};
    for (int y = 0; y < large.height; ++y) {
        const std::size_t from =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(large.width);
        const std::size_t to = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        Reduce(
            large.width, width,
            [&](int x) { return large.pixels[from + static_cast<std::size_t>(x)]; },
            [&](int x, std::uint32_t value) {
                across.pixels[to + static_cast<std::size_t>(x)] = value;
            });
    }
    Picture out{width, height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                           static_cast<std::size_t>(height))};
    for (int x = 0; x < width; ++x) {
        Reduce(
            large.height, height,
            [&](int y) {
                return across.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)];
            },
            [&](int y, std::uint32_t value) {
                out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)] = value;
            });
    }
    return out;
}

}  // namespace vk
