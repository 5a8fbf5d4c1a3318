// "GET_DPI": the screen's horizontal dots per inch into the registry.
#include "KvHelper.h"

void RecordScreenDpi() {
    HDC screen = GetDC(nullptr);
    const DWORD dpi = static_cast<DWORD>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, nullptr, 0, 0, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, u"DPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    RegCloseKey(key);
}
