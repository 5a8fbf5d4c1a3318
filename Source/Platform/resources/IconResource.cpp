// Icon group directories and icon images, read as untrusted bytes.
#include "resources/IconResource.h"

#include <cstdlib>
#include <cstring>

#include "imaging/Dib.h"
#include "imaging/Picture.h"

namespace platform {

namespace {

constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;

uint16_t u16At(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

std::optional<WORD> chooseIconImage(const uint8_t* group, size_t size, int cx, int cy) {
    if (group == nullptr || size < kGroupHeaderSize || u16At(group) != 0 || u16At(group + 2) != 1) {
        return std::nullopt;
    }
    const size_t count = u16At(group + 4);
    if (count == 0 || (size - kGroupHeaderSize) / kGroupEntrySize < count)
        return std::nullopt;
    std::optional<WORD> best;
    int64_t bestDistance = 0;
    bool bestLarger = false;
    int bestBits = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = group + kGroupHeaderSize + kGroupEntrySize * i;
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int height = entry[1] == 0 ? 256 : entry[1];
        int bits = u16At(entry + 6);
        if (bits == 0) {
            const int colors = entry[2];
            bits = colors == 0 ? 8 : colors <= 2 ? 1 : colors <= 16 ? 4 : 8;
        }
        const int64_t distance = std::llabs(int64_t{width} - cx) + std::llabs(int64_t{height} - cy);
        const bool larger = width >= cx && height >= cy;
        const bool better = !best || distance < bestDistance ||
                            (distance == bestDistance &&
                             (larger > bestLarger || (larger == bestLarger && bits > bestBits)));
        if (better) {
            best = u16At(entry + 12);
            bestDistance = distance;
            bestLarger = larger;
            bestBits = bits;
        }
    }
    return best;
}

std::optional<IconPixels> decodeIconImage(const uint8_t* data, size_t size) {
    if (data == nullptr)
        return std::nullopt;
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0) {
        auto picture = decodePng(data, size);
        if (!picture)
            return std::nullopt;
        return IconPixels{static_cast<int>(picture->width), static_cast<int>(picture->height),
                          std::move(picture->pixels)};
    }
    // A DIB whose stated height covers the colour rows and then the AND mask rows.
    auto layout = readDibHeader(data, size);
    if (!layout || layout->height % 2 != 0)
        return std::nullopt;
    const uint32_t width = layout->width;
    const uint32_t height = layout->height / 2;
    IconPixels icon;
    bool usedAlpha = false;
    if (!readDibPixels(*layout, data, size, height, DibAlpha::UseIfPresent, icon.argb,
                       &usedAlpha)) {
        return std::nullopt;
    }
    icon.width = static_cast<int>(width);
    icon.height = static_cast<int>(height);
    if (usedAlpha)
        return icon;  // the alpha channel decides; the mask only matters to old GDI

    const size_t maskStride = ((size_t{width} + 31) / 32) * 4;
    const size_t maskAt = layout->pixelOffset + layout->stride * height;
    if (maskAt > size || (size - maskAt) / maskStride < height) {
        return icon;  // no mask: an opaque icon
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t storedRow = layout->topDown ? y : height - 1 - y;
        const uint8_t* mask = data + maskAt + storedRow * maskStride;
        uint32_t* row = icon.argb.data() + size_t{y} * width;
        for (uint32_t x = 0; x < width; ++x) {
            if ((mask[x / 8] >> (7 - x % 8)) & 1)
                row[x] &= 0x00FFFFFFu;
        }
    }
    return icon;
}

}  // namespace platform
