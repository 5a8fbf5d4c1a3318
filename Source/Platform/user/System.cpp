// System metrics and colours of the device, the standard cursors, message beeps (in the
// device's event log), and the broadcast that follows a change of screen size.
#include <array>

#include "device/Display.h"
#include "device/EventLog.h"
#include "device/Screen.h"
#include "gdi/SystemColors.h"
#include "kernel/DeviceReset.h"
#include "user/UserState.h"
#include "wingdi.h"

namespace platform::user {
namespace {

constexpr int kColorCount = COLOR_GRADIENTINACTIVECAPTION + 1;

constexpr std::array<COLORREF, kColorCount> kSysColors = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(224, 224, 224),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
};

// The standard cursors are objects of the platform; their handles are their addresses.
HICON__ arrowCursor;
HICON__ waitCursor;
HICON__ ibeamCursor;
HICON__ crossCursor;
HICON__ upArrowCursor;
HICON__ sizeAllCursor;
HICON__ noCursor;
HICON__ appStartingCursor;
HICON__ helpCursor;

struct Shared {
    std::array<HBRUSH, kColorCount> brushes{};
    HCURSOR cursor = &arrowCursor;
};

Shared& shared() {
    static auto* s = new Shared;
    return *s;
}

// FillRect takes a system colour index plus one, (HBRUSH)(COLOR_WINDOW + 1), as the brush of
// that colour from the moment the device starts.
const bool colourBrushesGiven = [] {
    platform::setSystemColorBrushSource(&GetSysColorBrush);
    return true;
}();

// A fresh device shows the arrow cursor, and its system colour brushes come from here.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    platform::setSystemColorBrushSource(&GetSysColorBrush);
    Lock lock = lockState();
    shared().cursor = &arrowCursor;
});

}  // namespace
}  // namespace platform::user

using namespace platform::user;

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
            return device::screenWidth();
        case SM_CYSCREEN:
            return device::screenHeight();
        case SM_CYFULLSCREEN:
            return device::screenHeight() - 26;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return 13;
        case SM_CYCAPTION:
        case SM_CYMENU:
            return 26;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXICON:
        case SM_CYICON:
            // Icons grow with the screen's dots per inch, as on high-resolution devices.
            return 32 * device::screenDpi() / 96;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16 * device::screenDpi() / 96;
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXICONSPACING:
        case SM_CYICONSPACING:
            return 43;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 8;
        case SM_CXDRAG:
        case SM_CYDRAG:
            return 4;
        case SM_MOUSEPRESENT:
        case SM_DEBUG:
            return 0;
        case SM_CMOUSEBUTTONS:
            return 1;
        default:
            return 0;
    }
}

DWORD GetSysColor(int index) {
    if (index < 0 || index >= kColorCount)
        return 0;
    return kSysColors[static_cast<size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= kColorCount)
        return nullptr;
    Lock lock = lockState();
    HBRUSH& brush = shared().brushes[static_cast<size_t>(index)];
    if (!brush)
        brush = CreateSolidBrush(kSysColors[static_cast<size_t>(index)]);
    return brush;
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (instance || !IS_INTRESOURCE(name)) {
        // Programs bring no cursor resources on this device; only the standard ones exist.
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    switch (reinterpret_cast<ULONG_PTR>(name)) {
        case 32512:
            return &arrowCursor;
        case 32513:
            return &ibeamCursor;
        case 32514:
            return &waitCursor;
        case 32515:
            return &crossCursor;
        case 32516:
            return &upArrowCursor;
        case 32646:
            return &sizeAllCursor;
        case 32648:
            return &noCursor;
        case 32650:
            return &appStartingCursor;
        case 32651:
            return &helpCursor;
        default:
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
    }
}

HCURSOR SetCursor(HCURSOR cursor) {
    Lock lock = lockState();
    HCURSOR old = shared().cursor;
    shared().cursor = cursor;
    return old;
}

HCURSOR GetCursor() {
    Lock lock = lockState();
    return shared().cursor;
}

bool device::cursorIsWait() {
    Lock lock = lockState();
    return shared().cursor == &waitCursor;
}

BOOL MessageBeep(UINT type) {
    // Logged as kind "beep" with the type in hexadecimal, "0x40" for MB_ICONASTERISK.
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    DWORD v = type;
    do {
        text.insert(text.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    device::logEvent(u"beep", u"0x" + text);
    return TRUE;
}

void device::onScreenSizeChanged() {
    Lock lock = lockState();
    std::vector<HWND> all = state().topLevels;
    for (HWND h : all) {
        if (findWindow(h))
            sendMessage(lock, h, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0, Delivery::Notify);
    }
    for (auto& [value, w] : state().windows) {
        invalidateWindow(*w, nullptr, true, false);
    }
}
