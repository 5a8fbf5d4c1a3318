// PNG encoding through libpng into a memory buffer. libpng reports errors by longjmp; the
// frame that calls setjmp holds only what the guard below destroys.
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

struct PngWriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriteGuard() {
        if (png != nullptr)
            png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    }
};

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

    PngWriteGuard guard;
    guard.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failOnError, ignoreWarning);
    if (guard.png == nullptr)
        return false;
    guard.info = png_create_info_struct(guard.png);
    if (guard.info == nullptr)
        return false;
    if (setjmp(png_jmpbuf(guard.png))) {
        png.clear();
        return false;
    }
    png_set_write_fn(guard.png, &png, appendToBuffer, flushNothing);
    png_set_compression_level(guard.png, 9);
    if (colours == PngColours::Palette) {
        // Indexed pictures compress best unfiltered.
        png_set_filter(guard.png, 0, PNG_FILTER_NONE);
        png_set_IHDR(guard.png, guard.info, static_cast<png_uint_32>(width),
                     static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(guard.png, guard.info, palette.data(), static_cast<int>(palette.size()));
    } else {
        png_set_IHDR(guard.png, guard.info, static_cast<png_uint_32>(width),
                     static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    }
    png_write_info(guard.png, guard.info);
    for (int y = 0; y < height; ++y)
        png_write_row(guard.png, bytes.data() + static_cast<size_t>(y) * rowBytes);
    png_write_end(guard.png, guard.info);
    return true;
}
