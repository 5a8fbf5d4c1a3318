// A screenshot as the tests read it: the pixels of a PNG file the emulator wrote.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

inline bool readPng(const std::filesystem::path& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_BGRA;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.resize(size_t{image.width} * image.height);
    const bool read = png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr);
    for (auto& p : picture.pixels)
        p &= 0xFFFFFF;
    return read;
}
