// Reading the skin settings from the registry, and choosing the dimension class.
#include "skin/SkinSettings.h"

#include "inputmethod/Settings.h"

std::u16string skinsFolder;
std::u16string currentSkin;
std::u16string helpFilePath;

namespace {

constexpr DWORD kMaxNameChars = 255;

// A REG_SZ text of at most 255 characters, without a terminator the value may carry.
bool readText(const WCHAR* name, std::u16string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return false;
    WCHAR buffer[kMaxNameChars + 1] = {};
    DWORD size = kMaxNameChars * sizeof(WCHAR);
    DWORD type = 0;
    LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    size_t length = size / sizeof(WCHAR);
    while (length > 0 && buffer[length - 1] == 0)
        --length;
    text.assign(buffer, length);
    return true;
}

}  // namespace

void readCurrentSkin() {
    if (!readText(u"CurSkin", currentSkin)) {
        currentSkin = kDefaultSkin;
        SaveCurrentSkin();
    }
}

void readSkinsPath() {
    std::u16string folder;
    if (readText(u"SkinsPath", folder))
        skinsFolder = folder + u"\\";
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
