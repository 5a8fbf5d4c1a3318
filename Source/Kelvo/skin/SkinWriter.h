// Writing skin files: the layout data block "D" from a key table, and the whole "KELVO_SKIN"
// container (colours, help file, dimension classes with their numbered layouts). The skin tool
// and the tests that build skins both write through here.
#pragma once

#include <windef.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One key entry of the layout data, as stored (row and column follow from its place).
struct SkinKeyEntry {
    WORD flags = 0;
    WORD param = 0;
    BYTE vk = 0;
    RECT rect{};
};

// A gesture key's place; -1 names no key.
struct GesturePosition {
    int32_t row = -1;
    int32_t col = -1;
};

// What a layout's "D" item holds.
struct SkinLayoutEntry {
    WORD flags = 0;
    signed char alt = -1;
    GesturePosition down;
    GesturePosition right;
    GesturePosition left;
    std::vector<std::vector<SkinKeyEntry>> rows;
    int32_t width = 0;
    int32_t height = 0;
};

// The "D" bytes of a layout, little-endian and packed. Writes every row it is given: limits
// are the business of whoever fills the entry (tests write oversized blocks on purpose).
std::vector<BYTE> encodeLayoutData(const SkinLayoutEntry& layout);

// The items of one numbered layout class; a missing item is not written.
struct SkinLayoutItems {
    std::optional<std::vector<BYTE>> picture;  // "P"
    std::optional<std::vector<BYTE>> data;     // "D"
};

struct SkinFileContents {
    DWORD textColor = 0;      // "TC"
    DWORD frameColor = 0;     // "HC"
    std::u16string helpFile;  // "HFN"
    // Dimension classes ("P", "PH", "L", "LH") in the order they are written, each with its
    // layouts numbered from 0.
    std::vector<std::pair<std::u16string, std::vector<SkinLayoutItems>>> classes;
};

// Writes the container to a device path. The same contents give the same bytes. False when
// the file cannot be created or something could not be written.
bool writeSkinFile(const std::u16string& devicePath, const SkinFileContents& skin);
