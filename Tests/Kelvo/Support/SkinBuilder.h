// Skins written by the tests themselves, so that each test states the keys it relies on:
// key rows, layout data blocks, pictures, and whole skin files written by the skin writer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/EBFFile.h"
#include "skin/SkinWriter.h"

namespace skintest {

using Key = SkinKeyEntry;

// A character key: KF_OUTPUT with `ch` and `vk`.
inline Key charKey(WCHAR ch, BYTE vk, RECT rect) {
    return Key{0x0001, ch, vk, rect};
}

struct Layout {
    WORD flags = 0;
    signed char alt = -1;
    int32_t downRow = -1, downCol = -1;
    int32_t rightRow = -1, rightCol = -1;
    int32_t leftRow = -1, leftCol = -1;
    std::vector<std::vector<Key>> rows;
    int32_t width = 240;
    int32_t height = 80;
    std::string picture;  // empty: no "P" item
    bool withData = true;
    std::string dataOverride;  // when set, stored as "D" instead of the encoded rows
};

inline void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline SkinLayoutEntry layoutEntry(const Layout& layout) {
    SkinLayoutEntry entry;
    entry.flags = layout.flags;
    entry.alt = layout.alt;
    entry.down = {layout.downRow, layout.downCol};
    entry.right = {layout.rightRow, layout.rightCol};
    entry.left = {layout.leftRow, layout.leftCol};
    entry.rows = layout.rows;
    entry.width = layout.width;
    entry.height = layout.height;
    return entry;
}

inline std::vector<BYTE> bytesOf(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// The "D" block of a layout, as a skin file stores it.
inline std::string layoutData(const Layout& layout) {
    std::vector<BYTE> d = encodeLayoutData(layoutEntry(layout));
    return std::string(d.begin(), d.end());
}

// An 8-bit BMP file: palette entry i (0 to 255) has the colour `colourOf(i)` (0x00RRGGBB) and
// pixel (x, y), y counted from the top, the palette index `indexAt(x, y)`.
template <class ColourOf, class IndexAt>
std::string indexedBmp(int width, int height, ColourOf colourOf, IndexAt indexAt) {
    std::string b;
    const uint32_t stride = static_cast<uint32_t>((width + 3) & ~3);
    const uint32_t pixels = stride * static_cast<uint32_t>(height);
    const uint32_t offset = 54 + 256 * 4;
    b += "BM";
    put32(b, offset + pixels);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, static_cast<uint32_t>(width));
    put32(b, static_cast<uint32_t>(height));
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);
    put32(b, pixels);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 256);
    put32(b, 0);
    for (int i = 0; i < 256; ++i)
        put32(b, colourOf(i));               // blue, green, red, 0 as a little-endian 0x00RRGGBB
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < static_cast<int>(stride); ++x)
            b.push_back(x < width ? static_cast<char>(indexAt(x, y)) : '\0');
    }
    return b;
}

// An 8-bit BMP file of one colour (0x00RRGGBB): small enough for a layout's picture area.
inline std::string bmpPicture(int width, int height, uint32_t rgb) {
    return indexedBmp(
        width, height, [rgb](int i) { return i == 0 ? rgb : 0u; }, [](int, int) { return 0; });
}

struct Skin {
    DWORD textColor = 0;
    DWORD frameColor = 0;
    std::u16string helpFile;
    // Dimension class ("P", "PH", "L", "LH") to its layouts, numbered from 0.
    std::map<std::u16string, std::vector<Layout>> classes;
};

inline bool writeSkin(const std::u16string& path, const Skin& skin) {
    SkinFileContents contents;
    contents.textColor = skin.textColor;
    contents.frameColor = skin.frameColor;
    contents.helpFile = skin.helpFile;
    for (const auto& [name, layouts] : skin.classes) {
        std::vector<SkinLayoutItems> items;
        for (const Layout& layout : layouts) {
            SkinLayoutItems item;
            if (!layout.picture.empty())
                item.picture = bytesOf(layout.picture);
            if (layout.withData)
                item.data =
                    bytesOf(layout.dataOverride.empty() ? layoutData(layout) : layout.dataOverride);
            items.push_back(std::move(item));
        }
        contents.classes.emplace_back(name, std::move(items));
    }
    return writeSkinFile(path, contents);
}

}  // namespace skintest
