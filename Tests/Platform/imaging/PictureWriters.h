// Writers that build test pictures in memory: PNG through libpng, JPEG through libjpeg, GIF
// through giflib, and BMP files and bare DIBs byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace testpictures {

enum class PngKind { Rgba8, Rgb16Interlaced, PaletteWithTransparency, Gray8 };

// A width × height PNG of `argb` pixels (0xAARRGGBB) in the given colour type. The palette
// kind needs at most 256 distinct colours; the gray kind takes the pixels' green channel.
std::vector<uint8_t> writePng(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                              PngKind kind);

enum class JpegKind { Color, Gray };
std::vector<uint8_t> writeJpeg(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                               JpegKind kind);

enum class GifKind { Plain, Interlaced };
// A GIF whose pixels are palette indexes; `transparent` (or -1) names the transparent index.
std::vector<uint8_t> writeGif(const std::vector<uint8_t>& indexes, uint32_t width, uint32_t height,
                              const std::vector<uint32_t>& palette, int transparent, GifKind kind);

enum class DibOrder { BottomUp, TopDown };
// A bare DIB (BITMAPINFOHEADER, palette, pixels) of 1, 4, 8 (indexes into `palette`), 24 or
// 32 bits per pixel (colours from `argb`).
std::vector<uint8_t> writeDib(const std::vector<uint32_t>& argb,
                              const std::vector<uint8_t>& indexes, uint32_t width, uint32_t height,
                              int bitCount, const std::vector<uint32_t>& palette, DibOrder order);
// The same DIB behind a BITMAPFILEHEADER.
std::vector<uint8_t> withFileHeader(const std::vector<uint8_t>& dib);

}  // namespace testpictures
