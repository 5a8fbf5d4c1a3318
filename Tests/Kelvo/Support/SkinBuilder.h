// Skins written by the tests themselves, so that each test states the keys it relies on:
// key rows, layout data blocks, pictures, and whole skin files written with CEBFFile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/EBFFile.h"

namespace skintest {

struct Key {
    WORD flags = 0;
    WORD param = 0;
    BYTE vk = 0;
    RECT rect{};
};

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

// The "D" block of a layout, as a skin file stores it.
inline std::string layoutData(const Layout& layout) {
    std::string d;
    put16(d, layout.flags);
    d.push_back(static_cast<char>(layout.alt));
    for (int32_t v : {layout.downRow, layout.downCol, layout.rightRow, layout.rightCol,
                      layout.leftRow, layout.leftCol})
        put32(d, static_cast<uint32_t>(v));
    put32(d, static_cast<uint32_t>(layout.rows.size()));
    for (const auto& row : layout.rows) {
        put32(d, static_cast<uint32_t>(row.size()));
        for (const Key& key : row) {
            put16(d, key.flags);
            put16(d, key.param);
            d.push_back(static_cast<char>(key.vk));
            for (LONG v : {key.rect.left, key.rect.top, key.rect.right, key.rect.bottom})
                put32(d, static_cast<uint32_t>(v));
        }
    }
    put32(d, static_cast<uint32_t>(layout.width));
    put32(d, static_cast<uint32_t>(layout.height));
    return d;
}

// An 8-bit BMP file of one colour (0x00RRGGBB): small enough for a layout's picture area.
inline std::string bmpPicture(int width, int height, uint32_t rgb) {
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
    put32(b, rgb);  // palette entry 0 (blue, green, red, 0 as a little-endian 0x00RRGGBB)
    for (int i = 1; i < 256; ++i)
        put32(b, 0);
    b.append(pixels, '\0');
    return b;
}

struct Skin {
    DWORD textColor = 0;
    DWORD frameColor = 0;
    std::u16string helpFile;
    // Dimension class ("P", "PH", "L", "LH") to its layouts, numbered from 0.
    std::map<std::u16string, std::vector<Layout>> classes;
};

inline bool writeSkin(const std::u16string& path, const Skin& skin) {
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenWrite(path))
        return false;
    DWORD tc = skin.textColor, hc = skin.frameColor;
    file.Value(u"TC", tc);
    file.Value(u"HC", hc);
    std::u16string help = skin.helpFile;
    file.StringValue(u"HFN", help);
    for (const auto& [name, layouts] : skin.classes) {
        file.BeginClass(name);
        for (size_t i = 0; i < layouts.size(); ++i) {
            std::string number = std::to_string(i);
            file.BeginClass(std::u16string(number.begin(), number.end()));
            const Layout& layout = layouts[i];
            if (!layout.picture.empty())
                file.RawValue(u"P", static_cast<DWORD>(layout.picture.size()),
                              const_cast<char*>(layout.picture.data()));
            if (layout.withData) {
                std::string d =
                    layout.dataOverride.empty() ? layoutData(layout) : layout.dataOverride;
                file.RawValue(u"D", static_cast<DWORD>(d.size()), d.data());
            }
            file.EndClass();
        }
        file.EndClass();
    }
    return file.Close();
}

}  // namespace skintest
