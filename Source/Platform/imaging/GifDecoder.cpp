// GIF pictures through giflib: the first frame only, placed on the logical screen, with the
// transparent colour of its graphic control extension and interlaced rows put in order.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/Picture.h"

namespace platform {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0)
        return 0;
    size_t count = std::min(static_cast<size_t>(length), reader->size - reader->position);
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

constexpr int kNoTransparency = -1;
constexpr int kGraphicControlExtension = 0xF9;

// Reads one extension block and its sub-blocks; notes the transparent index of a graphic
// control extension.
bool readExtension(GifFileType* gif, int& transparentIndex) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK)
        return false;
    bool first = true;
    while (block != nullptr) {
        // A graphic control block is 4 bytes: flags, delay (2), transparent index.
        if (first && code == kGraphicControlExtension && block[0] >= 4 && (block[1] & 1) != 0) {
            transparentIndex = block[4];
        }
        first = false;
        if (DGifGetExtensionNext(gif, &block) != GIF_OK)
            return false;
    }
    return true;
}

}  // namespace

std::optional<Picture> decodeGif(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 6 || std::memcmp(data, "GIF", 3) != 0)
        return std::nullopt;
    MemoryReader reader{data, size, 0};
    int error = 0;
    GifPtr gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif)
        return std::nullopt;

    int transparentIndex = kNoTransparency;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK)
            return std::nullopt;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif.get(), transparentIndex))
                return std::nullopt;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            return std::nullopt;  // end before any frame
        break;
    }
    if (DGifGetImageDesc(gif.get()) != GIF_OK)
        return std::nullopt;
    const GifImageDesc& frame = gif->Image;
    if (frame.Left < 0 || frame.Top < 0 || frame.Width <= 0 || frame.Height <= 0) {
        return std::nullopt;
    }
    const uint32_t frameWidth = static_cast<uint32_t>(frame.Width);
    const uint32_t frameHeight = static_cast<uint32_t>(frame.Height);
    if (!pictureSizeAllowed(frameWidth, frameHeight))
        return std::nullopt;
    // The logical screen is the picture; a screen of no size takes the frame's extent.
    uint32_t width = gif->SWidth > 0 ? static_cast<uint32_t>(gif->SWidth) : frame.Left + frameWidth;
    uint32_t height =
        gif->SHeight > 0 ? static_cast<uint32_t>(gif->SHeight) : frame.Top + frameHeight;
    if (!pictureSizeAllowed(width, height))
        return std::nullopt;

    const ColorMapObject* colors = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colors == nullptr || colors->Colors == nullptr || colors->ColorCount <= 0)
        return std::nullopt;

    std::vector<GifPixelType> indexes(size_t{frameWidth} * frameHeight);
    if (frame.Interlace) {
        static constexpr uint32_t kStart[4] = {0, 4, 2, 1};
        static constexpr uint32_t kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (uint32_t y = kStart[pass]; y < frameHeight; y += kStep[pass]) {
                if (DGifGetLine(gif.get(), indexes.data() + size_t{y} * frameWidth, frame.Width) !=
                    GIF_OK) {
                    return std::nullopt;
                }
            }
        }
    } else {
        for (uint32_t y = 0; y < frameHeight; ++y) {
            if (DGifGetLine(gif.get(), indexes.data() + size_t{y} * frameWidth, frame.Width) !=
                GIF_OK) {
                return std::nullopt;
            }
        }
    }

    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.format = PictureFormat::Gif;
    picture.sourcePixels = SourcePixels::Indexed8;
    picture.hasAlpha = transparentIndex != kNoTransparency;
    // Outside the first frame the screen is transparent.
    picture.pixels.assign(size_t{width} * height, 0);
    for (uint32_t y = 0; y < frameHeight && frame.Top + y < height; ++y) {
        uint32_t* target = picture.pixels.data() + size_t{frame.Top + y} * width + frame.Left;
        const GifPixelType* source = indexes.data() + size_t{y} * frameWidth;
        for (uint32_t x = 0; x < frameWidth && frame.Left + x < width; ++x) {
            int index = source[x];
            if (index == transparentIndex)
                continue;
            if (index >= colors->ColorCount) {
                target[x] = 0xFF000000u;
                continue;
            }
            const GifColorType& c = colors->Colors[index];
            target[x] = packArgb(0xFF, c.Red, c.Green, c.Blue);
        }
    }
    return picture;
}

}  // namespace platform
