// PNG encoding through libpng into a memory buffer. libpng reports errors by longjmp; the
// frame that calls setjmp holds nothing that needs destroying after it.
#include <png.h>

#include <csetjmp>
#include <unordered_map>

#include <device/PngEncoder.h>

namespace platform {
namespace {

constexpr size_t kMaxPaletteColours = 256;

void appendToBuffer(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

void failOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// What one encode works on, prepared in the caller's frame, outside the reach of longjmp.
struct Encoding {
    png_uint_32 width;
    png_uint_32 height;
    const std::vector<png_color>* palette;  // empty: RGB
    png_bytepp rows;
    std::vector<uint8_t>* out;
};

// Runs libpng; returns false on any error. Only C objects live in this frame.
bool runLibpng(const Encoding& job) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failOnError, ignoreWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, job.out, appendToBuffer, flushNothing);
    png_set_compression_level(png, 9);
    if (!job.palette->empty()) {
        // Indexed pictures compress best unfiltered.
        png_set_filter(png, 0, PNG_FILTER_NONE);
        png_set_IHDR(png, info, job.width, job.height, 8, PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, job.palette->data(), static_cast<int>(job.palette->size()));
    } else {
        png_set_IHDR(png, info, job.width, job.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    }
    png_write_info(png, info);
    png_write_image(png, job.rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The rows as written: indexes or RGB triples, one vector per picture.
bool prepareRows(int width, int height, const std::vector<uint32_t>& pixels,
                 device::PngColours colours, std::vector<png_color>& palette,
                 std::vector<png_byte>& bytes) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (colours == device::PngColours::Rgb) {
        bytes.resize(count * 3);
        for (size_t i = 0; i < count; ++i) {
            bytes[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
            bytes[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
            bytes[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
        }
        return true;
    }
    std::unordered_map<uint32_t, png_byte> indexOf;
    bytes.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = pixels[i] & 0xFFFFFF;
        auto found = indexOf.find(colour);
        if (found == indexOf.end()) {
            if (palette.size() == kMaxPaletteColours)
                return false;
            found = indexOf.emplace(colour, static_cast<png_byte>(palette.size())).first;
            palette.push_back(png_color{static_cast<png_byte>(colour >> 16),
                                        static_cast<png_byte>(colour >> 8),
                                        static_cast<png_byte>(colour)});
        }
        bytes[i] = found->second;
    }
    return true;
}

}  // namespace
}  // namespace platform

bool device::encodePng(int width, int height, const std::vector<uint32_t>& pixels,
                       PngColours colours, std::vector<uint8_t>& png) {
    using namespace platform;
    png.clear();
    if (width < 1 || height < 1 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return false;
    std::vector<png_color> palette;
    std::vector<png_byte> bytes;
    if (!prepareRows(width, height, pixels, colours, palette, bytes))
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * (colours == PngColours::Rgb ? 3 : 1);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = bytes.data() + y * rowBytes;
    const Encoding job{static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), &palette,
                       rows.data(), &png};
    if (!runLibpng(job)) {
        png.clear();
        return false;
    }
    return true;
}
