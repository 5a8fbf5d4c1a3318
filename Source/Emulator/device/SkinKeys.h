// The keys of one layout of a skin file on the device, where they lie on a panel, as the
// keyboard itself loads them: the demo finds the key that types a character with it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct SkinKey {
    int row = 0;
    int col = 0;
    WORD flags = 0;
    WORD param = 0;  // the character of an output key
    BYTE vk = 0;
    RECT rect{};  // in the panel window's client coordinates
};

struct SkinLayoutKeys {
    int width = 0;
    int height = 0;
    int alternate = -1;
    std::vector<SkinKey> keys;
};

// Layout `layout` of the skin at a device path for a screen of the given size; nothing when
// the file, its class for that screen or the layout cannot be read.
std::optional<SkinLayoutKeys> readSkinLayoutKeys(const std::u16string& skinDevicePath,
                                                 int screenWidth, int screenHeight, int layout);
