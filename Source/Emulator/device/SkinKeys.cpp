// Reading a layout's keys from a skin file with the keyboard's own skin reader.
#include "device/SkinKeys.h"

#include <memory>

#include "skin/EBFFile.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

std::optional<SkinLayoutKeys> readSkinLayoutKeys(const std::u16string& skinDevicePath,
                                                 int screenWidth, int screenHeight, int layout) {
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(skinDevicePath)) {
        file.Close();
        return std::nullopt;
    }
    if (!file.BeginClass(dimensionClass(screenWidth, screenHeight)) || layout < 0 ||
        static_cast<DWORD>(layout) >= file.GetChildCount()) {
        file.Close();
        return std::nullopt;
    }
    // A layout holds its picture area; it is too large for the stack.
    auto loaded = std::make_unique<SkinLayout>();
    DWORD pictureSize = 0;
    const LayoutLoad result = parseLayoutClass(file, layout, *loaded, nullptr, pictureSize);
    file.Close();
    if (result != LayoutLoad::Loaded)
        return std::nullopt;
    SkinLayoutKeys keys;
    keys.width = loaded->width;
    keys.height = loaded->height;
    keys.alternate = loaded->altIndex;
    for (int r = 0; r < loaded->rowCount && r < kMaxRows; ++r) {
        for (int c = 0; c < loaded->rowKeyCount[static_cast<size_t>(r)] && c < kMaxKeysPerRow;
             ++c) {
            const KeyRecord& key = loaded->keys[r][c];
            keys.keys.push_back({r, c, key.flags, key.param, key.vk, key.rect});
        }
    }
    return keys;
}
