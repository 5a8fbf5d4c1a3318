// Test picture writers. They use the libraries' ordinary writing paths, so a decoder fault
// cannot hide behind a matching fault in a hand-made encoder.
#include "PictureWriters.h"

#include <cstdio>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>

namespace testpictures {

namespace {

uint8_t alphaOf(uint32_t c) {
    return static_cast<uint8_t>(c >> 24);
}
uint8_t redOf(uint32_t c) {
    return static_cast<uint8_t>(c >> 16);
}
uint8_t greenOf(uint32_t c) {
    return static_cast<uint8_t>(c >> 8);
}
uint8_t blueOf(uint32_t c) {
    return static_cast<uint8_t>(c);
}

void appendToVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> writePng(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                              PngKind kind) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to write the test picture");
    }
    png_set_write_fn(png, &out, appendToVector, flushNothing);

    std::vector<std::vector<uint8_t>> rows(height);
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    switch (kind) {
        case PngKind::Rgba8:
            png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    uint32_t c = argb[y * width + x];
                    rows[y].insert(rows[y].end(), {redOf(c), greenOf(c), blueOf(c), alphaOf(c)});
                }
            }
            break;
        case PngKind::Rgb16Interlaced:
            png_set_IHDR(png, info, width, height, 16, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    uint32_t c = argb[y * width + x];
                    // Big-endian 16-bit samples, high byte = the 8-bit value.
                    rows[y].insert(rows[y].end(), {redOf(c), redOf(c), greenOf(c), greenOf(c),
                                                   blueOf(c), blueOf(c)});
                }
            }
            break;
        case PngKind::PaletteWithTransparency:
            png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    uint32_t c = argb[y * width + x];
                    size_t index = 0;
                    while (index < palette.size() &&
                           !(palette[index].red == redOf(c) && palette[index].green == greenOf(c) &&
                             palette[index].blue == blueOf(c) && alphas[index] == alphaOf(c))) {
                        ++index;
                    }
                    if (index == palette.size()) {
                        palette.push_back({redOf(c), greenOf(c), blueOf(c)});
                        alphas.push_back(alphaOf(c));
                    }
                    rows[y].push_back(static_cast<uint8_t>(index));
                }
            }
            png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
            break;
        case PngKind::Gray8:
            png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x)
                    rows[y].push_back(greenOf(argb[y * width + x]));
            }
            break;
    }
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows)
        rowPointers.push_back(row.data());
    png_set_rows(png, info, rowPointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> writeJpeg(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                               JpegKind kind) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = kind == JpegKind::Color ? 3 : 1;
    cinfo.in_color_space = kind == JpegKind::Color ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    // Full-resolution chroma, so that colour edges on block borders stay sharp.
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row;
    while (cinfo.next_scanline < height) {
        row.clear();
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t c = argb[cinfo.next_scanline * width + x];
            if (kind == JpegKind::Color) {
                row.insert(row.end(), {redOf(c), greenOf(c), blueOf(c)});
            } else {
                row.push_back(greenOf(c));
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

namespace {

int appendGifBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

}  // namespace

std::vector<uint8_t> writeGif(const std::vector<uint8_t>& indexes, uint32_t width, uint32_t height,
                              const std::vector<uint32_t>& palette, int transparent, GifKind kind) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGifBytes, &error);
    int colorCount = 2;
    while (colorCount < static_cast<int>(palette.size()))
        colorCount *= 2;
    std::vector<GifColorType> colors(colorCount);
    for (size_t i = 0; i < palette.size(); ++i) {
        colors[i] = {redOf(palette[i]), greenOf(palette[i]), blueOf(palette[i])};
    }
    ColorMapObject* map = GifMakeMapObject(colorCount, colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, static_cast<int>(width), static_cast<int>(height), 8, 0, map);
    if (transparent >= 0) {
        GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(transparent)};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    }
    const bool interlaced = kind == GifKind::Interlaced;
    EGifPutImageDesc(gif, 0, 0, static_cast<int>(width), static_cast<int>(height), interlaced,
                     nullptr);
    std::vector<GifPixelType> line(width);
    auto putRow = [&](uint32_t y) {
        std::memcpy(line.data(), indexes.data() + y * width, width);
        EGifPutLine(gif, line.data(), static_cast<int>(width));
    };
    if (interlaced) {
        static constexpr uint32_t kStart[4] = {0, 4, 2, 1};
        static constexpr uint32_t kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (uint32_t y = kStart[pass]; y < height; y += kStep[pass])
                putRow(y);
        }
    } else {
        for (uint32_t y = 0; y < height; ++y)
            putRow(y);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

std::vector<uint8_t> writeDib(const std::vector<uint32_t>& argb,
                              const std::vector<uint8_t>& indexes, uint32_t width, uint32_t height,
                              int bitCount, const std::vector<uint32_t>& palette, DibOrder order) {
    std::vector<uint8_t> out;
    const size_t stride = ((width * bitCount + 31) / 32) * 4;
    put32(out, 40);
    put32(out, width);
    put32(out, order == DibOrder::TopDown ? static_cast<uint32_t>(-static_cast<int32_t>(height))
                                          : height);
    put16(out, 1);
    put16(out, static_cast<uint32_t>(bitCount));
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<uint32_t>(stride * height));
    put32(out, 3780);  // 96 dots per inch
    put32(out, 3780);
    put32(out, bitCount <= 8 ? static_cast<uint32_t>(palette.size()) : 0);
    put32(out, 0);
    if (bitCount <= 8) {
        for (uint32_t c : palette)
            out.insert(out.end(), {blueOf(c), greenOf(c), redOf(c), 0});
    }
    for (uint32_t i = 0; i < height; ++i) {
        uint32_t y = order == DibOrder::TopDown ? i : height - 1 - i;
        std::vector<uint8_t> row(stride, 0);
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t c = argb.empty() ? 0 : argb[y * width + x];
            uint8_t index = indexes.empty() ? 0 : indexes[y * width + x];
            switch (bitCount) {
                case 1:
                    row[x / 8] |= static_cast<uint8_t>((index & 1) << (7 - x % 8));
                    break;
                case 4:
                    row[x / 2] |= static_cast<uint8_t>((index & 0xF) << (x % 2 == 0 ? 4 : 0));
                    break;
                case 8:
                    row[x] = index;
                    break;
                case 24:
                    row[x * 3] = blueOf(c);
                    row[x * 3 + 1] = greenOf(c);
                    row[x * 3 + 2] = redOf(c);
                    break;
                case 32:
                    row[x * 4] = blueOf(c);
                    row[x * 4 + 1] = greenOf(c);
                    row[x * 4 + 2] = redOf(c);
                    row[x * 4 + 3] = alphaOf(c);
                    break;
                default:
                    throw std::invalid_argument("unsupported bit count");
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t> withFileHeader(const std::vector<uint8_t>& dib) {
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, static_cast<uint32_t>(dib.size() + 14));
    put32(out, 0);
    uint32_t headerSize = dib[0] | (dib[1] << 8);
    uint32_t bitCount = dib[14];
    uint32_t colors = dib[32] | (dib[33] << 8);
    put32(out, 14 + headerSize + (bitCount <= 8 ? colors * 4 : 0));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

}  // namespace testpictures
