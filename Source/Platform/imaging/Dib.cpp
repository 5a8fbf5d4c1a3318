// The DIB reader behind BMP files, bitmap resources and icon images. All offsets are checked
// against the buffer before they are read; sizes are computed in 64 bits.
#include "imaging/Dib.h"

#include <bit>

namespace platform {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kFileHeaderSize = 14;

uint16_t readU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t readI32(const uint8_t* p) {
    return static_cast<int32_t>(readU32(p));
}

bool knownHeaderSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t maxValue = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        maxValue = (uint64_t{mask} >> shift);
    }
    uint32_t extract(uint32_t pixel) const {
        if (maxValue == 0)
            return 0;
        uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>(v * 255 / maxValue);
    }
};

double dpiFromPelsPerMeter(int32_t pels) {
    if (pels <= 0)
        return 96.0;
    return pels * 0.0254;
}

}  // namespace

bool looksLikeDib(const uint8_t* data, size_t size) {
    if (size < kInfoHeaderSize)
        return false;
    return knownHeaderSize(readU32(data)) && readU16(data + 12) == 1;
}

std::optional<DibLayout> readDibHeader(const uint8_t* dib, size_t size) {
    if (dib == nullptr || size < kInfoHeaderSize)
        return std::nullopt;
    DibLayout layout;
    layout.headerSize = readU32(dib);
    if (!knownHeaderSize(layout.headerSize) || layout.headerSize > size)
        return std::nullopt;
    int32_t width = readI32(dib + 4);
    int32_t height = readI32(dib + 8);
    if (readU16(dib + 12) != 1)
        return std::nullopt;
    layout.bitCount = readU16(dib + 14);
    layout.compression = readU32(dib + 16);
    layout.xdpi = dpiFromPelsPerMeter(readI32(dib + 24));
    layout.ydpi = dpiFromPelsPerMeter(readI32(dib + 28));
    uint32_t colorsUsed = readU32(dib + 32);

    if (width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    layout.topDown = height < 0;
    layout.width = static_cast<uint32_t>(width);
    layout.height = static_cast<uint32_t>(height < 0 ? -height : height);
    if (!pictureSizeAllowed(layout.width, layout.height))
        return std::nullopt;

    switch (layout.bitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
            if (layout.compression != kBiRgb)
                return std::nullopt;
            break;
        case 16:
        case 32:
            if (layout.compression != kBiRgb && layout.compression != kBiBitfields &&
                layout.compression != kBiAlphaBitfields) {
                return std::nullopt;
            }
            break;
        default:
            return std::nullopt;
    }

    size_t offset = layout.headerSize;
    if (layout.compression == kBiRgb) {
        if (layout.bitCount == 16)
            layout.masks = {0x7C00, 0x03E0, 0x001F, 0};
        if (layout.bitCount == 32)
            layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    } else {
        // A 40-byte header is followed by three (or, for BI_ALPHABITFIELDS, four) masks; the
        // larger headers hold all four masks themselves.
        size_t maskCount = layout.compression == kBiAlphaBitfields ? 4 : 3;
        const uint8_t* masks = dib + kInfoHeaderSize;
        if (layout.headerSize == kInfoHeaderSize) {
            if (size - offset < maskCount * 4)
                return std::nullopt;
            offset += maskCount * 4;
        } else if (layout.headerSize >= 56) {
            maskCount = 4;
        } else {
            maskCount = 3;  // BITMAPV2INFOHEADER: 52 bytes, three masks
        }
        for (size_t i = 0; i < maskCount; ++i)
            layout.masks[i] = readU32(masks + 4 * i);
    }

    if (layout.bitCount <= 8) {
        uint32_t maxColors = 1u << layout.bitCount;
        uint32_t entries = colorsUsed == 0 ? maxColors : colorsUsed;
        if (entries > maxColors)
            return std::nullopt;
        if ((size - offset) / 4 < entries)
            return std::nullopt;
        layout.palette.resize(maxColors, 0xFF000000u);
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t* q = dib + offset + 4 * i;
            layout.palette[i] = packArgb(0xFF, q[2], q[1], q[0]);
        }
        offset += size_t{entries} * 4;
    }
    layout.pixelOffset = offset;
    layout.stride = ((uint64_t{layout.width} * layout.bitCount + 31) / 32) * 4;
    return layout;
}

bool readDibPixels(const DibLayout& layout, const uint8_t* dib, size_t size, uint32_t rows,
                   DibAlpha alpha, std::vector<uint32_t>& out, bool* usedAlpha) {
    if (rows > layout.height || layout.pixelOffset > size)
        return false;
    if ((size - layout.pixelOffset) / layout.stride < rows)
        return false;
    const uint32_t width = layout.width;
    out.assign(size_t{width} * rows, 0);

    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]),
        alphaChannel(layout.masks[3]);
    const bool fourthByteIsAlpha =
        layout.bitCount == 32 && layout.compression == kBiRgb && alpha == DibAlpha::UseIfPresent;
    bool anyAlpha = false;

    for (uint32_t y = 0; y < rows; ++y) {
        // Bottom-up DIBs store the last row of the `rows` shown first.
        uint32_t sourceRow = layout.topDown ? y : rows - 1 - y;
        const uint8_t* row = dib + layout.pixelOffset + size_t{sourceRow} * layout.stride;
        uint32_t* target = out.data() + size_t{y} * width;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            switch (layout.bitCount) {
                case 1:
                    pixel = layout.palette[(row[x / 8] >> (7 - x % 8)) & 1];
                    break;
                case 4:
                    pixel = layout.palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                    break;
                case 8:
                    pixel = layout.palette[row[x]];
                    break;
                case 24: {
                    const uint8_t* p = row + size_t{x} * 3;
                    pixel = packArgb(0xFF, p[2], p[1], p[0]);
                    break;
                }
                case 16:
                case 32: {
                    uint32_t value = layout.bitCount == 16 ? readU16(row + size_t{x} * 2)
                                                           : readU32(row + size_t{x} * 4);
                    uint32_t a = alphaChannel.mask != 0 ? alphaChannel.extract(value) : 0xFF;
                    if (fourthByteIsAlpha) {
                        a = value >> 24;
                        if (a != 0)
                            anyAlpha = true;
                    }
                    pixel =
                        packArgb(a, red.extract(value), green.extract(value), blue.extract(value));
                    break;
                }
                default:
                    return false;
            }
            target[x] = pixel;
        }
    }
    // A 32-bit icon image whose fourth bytes are all zero has no alpha: it is opaque.
    if (fourthByteIsAlpha && !anyAlpha) {
        for (uint32_t& pixel : out)
            pixel |= 0xFF000000u;
    }
    if (usedAlpha != nullptr) {
        *usedAlpha = (fourthByteIsAlpha && anyAlpha) || alphaChannel.mask != 0;
    }
    return true;
}

namespace {

SourcePixels sourcePixelsOf(const DibLayout& layout, bool usedAlpha) {
    switch (layout.bitCount) {
        case 1:
            return SourcePixels::Indexed1;
        case 4:
            return SourcePixels::Indexed4;
        case 8:
            return SourcePixels::Indexed8;
        case 16:
            if (layout.masks[3] != 0)
                return SourcePixels::Argb1555;
            return layout.masks[1] == 0x07E0 ? SourcePixels::Rgb565 : SourcePixels::Rgb555;
        case 24:
            return SourcePixels::Rgb24;
        default:
            return usedAlpha ? SourcePixels::Argb32 : SourcePixels::Rgb32;
    }
}

std::optional<Picture> pictureFrom(const DibLayout& layout, const uint8_t* dib, size_t size,
                                   DibAlpha alpha) {
    Picture picture;
    bool usedAlpha = false;
    if (!readDibPixels(layout, dib, size, layout.height, alpha, picture.pixels, &usedAlpha)) {
        return std::nullopt;
    }
    picture.width = layout.width;
    picture.height = layout.height;
    picture.format = PictureFormat::Bmp;
    picture.sourcePixels = sourcePixelsOf(layout, usedAlpha);
    picture.hasAlpha = usedAlpha;
    picture.xdpi = layout.xdpi;
    picture.ydpi = layout.ydpi;
    return picture;
}

}  // namespace

std::optional<Picture> decodeDib(const uint8_t* dib, size_t size, DibAlpha alpha) {
    auto layout = readDibHeader(dib, size);
    if (!layout)
        return std::nullopt;
    return pictureFrom(*layout, dib, size, alpha);
}

std::optional<Picture> decodeBmpFile(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kFileHeaderSize + kInfoHeaderSize)
        return std::nullopt;
    if (data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    uint32_t pixelsAt = readU32(data + 10);
    const uint8_t* dib = data + kFileHeaderSize;
    size_t dibSize = size - kFileHeaderSize;
    auto layout = readDibHeader(dib, dibSize);
    if (!layout)
        return std::nullopt;
    // bfOffBits counts from the start of the file; writers that leave it zero mean "right
    // after the palette", which is where readDibHeader already put the pixels.
    if (pixelsAt != 0) {
        if (pixelsAt < kFileHeaderSize || pixelsAt - kFileHeaderSize < layout->headerSize ||
            pixelsAt > size) {
            return std::nullopt;
        }
        layout->pixelOffset = pixelsAt - kFileHeaderSize;
    }
    return pictureFrom(*layout, dib, dibSize, DibAlpha::Ignore);
}

}  // namespace platform
