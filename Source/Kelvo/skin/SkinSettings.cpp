// Reading the skin settings from the registry, and choosing the dimension class.
#include "skin/SkinSettings.h"

#include "inputmethod/Settings.h"

std::u16string skinsFolder;
std::u16string currentSkin;
std::u16string helpFilePath;
bool currentSkinTooLong = false;
bool skinsPathTooLong = false;

namespace {

constexpr DWORD kMaxNameChars = 255;

enum class TextRead { Read, Missing, TooLong };

// A REG_SZ text of at most 255 characters, with or without a terminator.
TextRead readText(const WCHAR* name, std::u16string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return TextRead::Missing;
    // Room for 255 characters and a terminator: a longer value does not fit, or fills it
    // without one.
    WCHAR buffer[kMaxNameChars + 1] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result == ERROR_MORE_DATA)
        return TextRead::TooLong;
    if (result != ERROR_SUCCESS)
        return TextRead::Missing;
    size_t length = size / sizeof(WCHAR);
    while (length > 0 && buffer[length - 1] == 0)
        --length;
    if (length > kMaxNameChars)
        return TextRead::TooLong;
    text.assign(buffer, length);
    return TextRead::Read;
}

}  // namespace

void readCurrentSkin() {
    std::u16string name;
    const TextRead read = readText(u"CurSkin", name);
    // A name too long is refused, never replaced: the user's value stays in the registry.
    currentSkinTooLong = read == TextRead::TooLong;
    if (read == TextRead::Read) {
        currentSkin = name;
    } else if (read == TextRead::Missing) {
        currentSkin = kDefaultSkin;
        SaveCurrentSkin();
    }
}

void readSkinsPath() {
    std::u16string folder;
    const TextRead read = readText(u"SkinsPath", folder);
    skinsPathTooLong = read == TextRead::TooLong;
    if (read == TextRead::Read)
        skinsFolder = folder + u"\\";
}

const WCHAR* refusedSkinSetting() {
    if (currentSkinTooLong)
        return u"CurSkin";
    if (skinsPathTooLong)
        return u"SkinsPath";
    return nullptr;
}

std::u16string composeSkinPath() {
    return skinsFolder + currentSkin + u".ksk";
}

const WCHAR* dimensionClass(int screenWidth, int screenHeight) {
    if (screenWidth > screenHeight)
        return screenWidth <= 500 ? u"L" : u"LH";
    return screenWidth <= 400 ? u"P" : u"PH";
}

int scaleForScreen(int screenWidth) {
    return screenWidth <= 400 ? 1 : 2;
}
