// PNG pictures through libpng: every colour type, palettes with tRNS, 16-bit samples and
// interlacing, all turned into 8-bit RGBA by libpng's transforms. libpng reports errors by
// longjmp; the frame that calls setjmp holds nothing that needs destroying after it.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "imaging/Picture.h"

namespace platform {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position)
        png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
}

void failOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void ignoreWarning(png_structp, png_const_charp) {}

SourcePixels sourcePixelsOf(int colorType, int bitDepth, bool hasTransparency) {
    switch (colorType) {
        case PNG_COLOR_TYPE_PALETTE:
            if (bitDepth == 1)
                return SourcePixels::Indexed1;
            if (bitDepth <= 4)
                return SourcePixels::Indexed4;
            return SourcePixels::Indexed8;
        case PNG_COLOR_TYPE_GRAY:
            if (bitDepth == 16)
                return SourcePixels::Gray16;
            return hasTransparency ? SourcePixels::Argb32 : SourcePixels::Indexed8;
        case PNG_COLOR_TYPE_RGB:
            if (hasTransparency)
                return bitDepth == 16 ? SourcePixels::Argb64 : SourcePixels::Argb32;
            return bitDepth == 16 ? SourcePixels::Rgb48 : SourcePixels::Rgb24;
        default:
            return bitDepth == 16 ? SourcePixels::Argb64 : SourcePixels::Argb32;
    }
}

// What one decode works on: the input, and the picture and row table it fills in once the
// header is known. Both live in the caller's frame, outside the reach of longjmp.
struct Decoding {
    MemoryReader reader;
    Picture* picture;
    std::vector<png_bytep>* rows;
};

// Runs libpng; returns false on any error. Only C objects live in this frame.
bool runLibpng(Decoding& job) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failOnError, ignoreWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_set_read_fn(png, &job.reader, readFromMemory);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (!pictureSizeAllowed(width, height))
        png_error(png, "too large");
    bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4)
        png_error(png, "unexpected layout");

    Picture& picture = *job.picture;
    picture.width = width;
    picture.height = height;
    picture.format = PictureFormat::Png;
    picture.hasAlpha = transparency || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    picture.sourcePixels = sourcePixelsOf(colorType, bitDepth, transparency);
    png_uint_32 xppm = png_get_x_pixels_per_meter(png, info);
    png_uint_32 yppm = png_get_y_pixels_per_meter(png, info);
    if (xppm != 0 && yppm != 0) {
        picture.xdpi = xppm * 0.0254;
        picture.ydpi = yppm * 0.0254;
    }
    picture.pixels.resize(size_t{width} * height);
    job.rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        (*job.rows)[y] = reinterpret_cast<png_bytep>(picture.pixels.data() + size_t{y} * width);
    }
    png_read_image(png, job.rows->data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

std::optional<Picture> decodePng(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return std::nullopt;
    Picture picture;
    std::vector<png_bytep> rows;
    Decoding job{{data, size, 0}, &picture, &rows};
    if (!runLibpng(job))
        return std::nullopt;
    // libpng wrote R, G, B, A bytes; pack them into 0xAARRGGBB words.
    for (uint32_t& pixel : picture.pixels) {
        uint8_t bytes[4];
        std::memcpy(bytes, &pixel, 4);
        pixel = packArgb(bytes[3], bytes[0], bytes[1], bytes[2]);
    }
    return picture;
}

}  // namespace platform
