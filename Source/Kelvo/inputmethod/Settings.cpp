// The settings store's registry reads and writes.
#include "inputmethod/Settings.h"

#include "skin/SkinSettings.h"

int32_t g_repeatDelay = kDefaultRepeatDelay;
int32_t g_repeatPeriod = kDefaultRepeatPeriod;
int32_t g_enableGestures = kDefaultEnableGestures;
int32_t g_screenWidth = 0;
int32_t g_screenHeight = 0;

namespace {

// Any 4-byte value is taken as its bytes, whatever its registry type.
void readDword(HKEY key, const WCHAR* name, int32_t& value, int32_t defaultValue) {
    int32_t read = 0;
    DWORD size = sizeof(read);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size) ==
            ERROR_SUCCESS &&
        size == sizeof(read)) {
        value = read;
    } else {
        value = defaultValue;
    }
}

HKEY createSettingsKey() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void writeDword(HKEY key, const WCHAR* name, int32_t value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

}  // namespace

void LoadSettings() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return;
    readDword(key, u"RepeatDelay", g_repeatDelay, kDefaultRepeatDelay);
    readDword(key, u"RepeatPeriod", g_repeatPeriod, kDefaultRepeatPeriod);
    readDword(key, u"EnableGestures", g_enableGestures, kDefaultEnableGestures);
    RegCloseKey(key);
}

void SaveSettings() {
    HKEY key = createSettingsKey();
    if (key == nullptr)
        return;
    writeDword(key, u"RepeatDelay", g_repeatDelay);
    writeDword(key, u"RepeatPeriod", g_repeatPeriod);
    writeDword(key, u"EnableGestures", g_enableGestures);
    RegCloseKey(key);
}

void SaveCurrentSkin() {
    HKEY key = createSettingsKey();
    if (key == nullptr)
        return;
    RegSetValueExW(key, u"CurSkin", 0, REG_SZ, reinterpret_cast<const BYTE*>(currentSkin.c_str()),
                   static_cast<DWORD>(currentSkin.size() * sizeof(WCHAR)));
    RegCloseKey(key);
}

void MeasureScreen() {
    HDC screen = GetDC(nullptr);
    g_screenWidth = GetDeviceCaps(screen, HORZRES);
    g_screenHeight = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
}
