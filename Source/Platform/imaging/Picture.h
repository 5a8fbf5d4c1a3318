// A decoded picture and the one entry that decodes PNG, JPEG, GIF, BMP files and bare DIBs,
// chosen by the bytes' signature. Every decoder treats its input as hostile: it never reads past
// the buffer, and corrupt, truncated or oversized pictures fail with no result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// The container a picture came from.
enum class PictureFormat { Png, Jpeg, Gif, Bmp };

// The pixel layout of the source, numbered as the imaging library's PixelFormat values.
enum class SourcePixels : uint32_t {
    Indexed1 = 0x00030101,
    Indexed4 = 0x00030402,
    Indexed8 = 0x00030803,
    Gray16 = 0x00101004,
    Rgb555 = 0x00021005,
    Rgb565 = 0x00021006,
    Argb1555 = 0x00061007,
    Rgb24 = 0x00021808,
    Rgb32 = 0x00022009,
    Argb32 = 0x0026200A,
    Rgb48 = 0x0010300C,
    Argb64 = 0x0034400D,
};

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    // Straight (not premultiplied) alpha, 0xAARRGGBB, rows top-down, width pixels per row.
    std::vector<uint32_t> pixels;
    PictureFormat format = PictureFormat::Bmp;
    SourcePixels sourcePixels = SourcePixels::Argb32;
    // True when the source carries transparency (an alpha channel or a transparent colour).
    bool hasAlpha = false;
    // Resolution recorded in the file, or 96 when it records none.
    double xdpi = 96.0;
    double ydpi = 96.0;
};

// Limits every decoder checks before it allocates.
inline constexpr uint32_t kMaxPictureSide = 16384;
inline constexpr uint64_t kMaxPictureBytes = 256ull * 1024 * 1024;

// True when a width × height picture of 32-bit pixels stays within the limits.
bool pictureSizeAllowed(uint64_t width, uint64_t height);

// Decodes the picture at the start of data. The buffer may be longer than the picture: the
// format's own length decides where it ends.
std::optional<Picture> decodePicture(const uint8_t* data, size_t size);

std::optional<Picture> decodePng(const uint8_t* data, size_t size);
std::optional<Picture> decodeJpeg(const uint8_t* data, size_t size);
std::optional<Picture> decodeGif(const uint8_t* data, size_t size);

inline uint32_t packArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace platform
