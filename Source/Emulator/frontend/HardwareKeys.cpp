// The device's hardware keyboard tables.
#include "frontend/HardwareKeys.h"

#include <winuser.h>

#include <array>
#include <string>

namespace {

struct NamedKey {
    std::string_view name;
    UINT vk;
};

constexpr std::array kNamedKeys = {
    NamedKey{"VK_BACK", VK_BACK},
    NamedKey{"VK_TAB", VK_TAB},
    NamedKey{"VK_RETURN", VK_RETURN},
    NamedKey{"VK_SHIFT", VK_SHIFT},
    NamedKey{"VK_CONTROL", VK_CONTROL},
    NamedKey{"VK_MENU", VK_MENU},
    NamedKey{"VK_CAPITAL", VK_CAPITAL},
    NamedKey{"VK_ESCAPE", VK_ESCAPE},
    NamedKey{"VK_SPACE", VK_SPACE},
    NamedKey{"VK_PRIOR", VK_PRIOR},
    NamedKey{"VK_NEXT", VK_NEXT},
    NamedKey{"VK_END", VK_END},
    NamedKey{"VK_HOME", VK_HOME},
    NamedKey{"VK_LEFT", VK_LEFT},
    NamedKey{"VK_UP", VK_UP},
    NamedKey{"VK_RIGHT", VK_RIGHT},
    NamedKey{"VK_DOWN", VK_DOWN},
    NamedKey{"VK_INSERT", VK_INSERT},
    NamedKey{"VK_DELETE", VK_DELETE},
    NamedKey{"VK_LSHIFT", VK_LSHIFT},
    NamedKey{"VK_RSHIFT", VK_RSHIFT},
    NamedKey{"VK_LCONTROL", VK_LCONTROL},
    NamedKey{"VK_RCONTROL", VK_RCONTROL},
};

// Set-1 scan codes of the main block, by virtual key.
struct ScanCode {
    UINT vk;
    UINT code;
};

constexpr std::array kScanCodes = {
    ScanCode{VK_ESCAPE, 0x01},   ScanCode{'1', 0x02},          ScanCode{'2', 0x03},
    ScanCode{'3', 0x04},         ScanCode{'4', 0x05},          ScanCode{'5', 0x06},
    ScanCode{'6', 0x07},         ScanCode{'7', 0x08},          ScanCode{'8', 0x09},
    ScanCode{'9', 0x0A},         ScanCode{'0', 0x0B},          ScanCode{VK_OEM_MINUS, 0x0C},
    ScanCode{VK_OEM_PLUS, 0x0D}, ScanCode{VK_BACK, 0x0E},      ScanCode{VK_TAB, 0x0F},
    ScanCode{'Q', 0x10},         ScanCode{'W', 0x11},          ScanCode{'E', 0x12},
    ScanCode{'R', 0x13},         ScanCode{'T', 0x14},          ScanCode{'Y', 0x15},
    ScanCode{'U', 0x16},         ScanCode{'I', 0x17},          ScanCode{'O', 0x18},
    ScanCode{'P', 0x19},         ScanCode{VK_OEM_4, 0x1A},     ScanCode{VK_OEM_6, 0x1B},
    ScanCode{VK_RETURN, 0x1C},   ScanCode{VK_CONTROL, 0x1D},   ScanCode{VK_LCONTROL, 0x1D},
    ScanCode{'A', 0x1E},         ScanCode{'S', 0x1F},          ScanCode{'D', 0x20},
    ScanCode{'F', 0x21},         ScanCode{'G', 0x22},          ScanCode{'H', 0x23},
    ScanCode{'J', 0x24},         ScanCode{'K', 0x25},          ScanCode{'L', 0x26},
    ScanCode{VK_OEM_1, 0x27},    ScanCode{VK_OEM_7, 0x28},     ScanCode{VK_OEM_3, 0x29},
    ScanCode{VK_SHIFT, 0x2A},    ScanCode{VK_LSHIFT, 0x2A},    ScanCode{VK_OEM_5, 0x2B},
    ScanCode{'Z', 0x2C},         ScanCode{'X', 0x2D},          ScanCode{'C', 0x2E},
    ScanCode{'V', 0x2F},         ScanCode{'B', 0x30},          ScanCode{'N', 0x31},
    ScanCode{'M', 0x32},         ScanCode{VK_OEM_COMMA, 0x33}, ScanCode{VK_OEM_PERIOD, 0x34},
    ScanCode{VK_OEM_2, 0x35},    ScanCode{VK_RSHIFT, 0x36},    ScanCode{VK_MENU, 0x38},
    ScanCode{VK_SPACE, 0x39},    ScanCode{VK_CAPITAL, 0x3A},   ScanCode{VK_F1, 0x3B},
    ScanCode{VK_F2, 0x3C},       ScanCode{VK_F3, 0x3D},        ScanCode{VK_F4, 0x3E},
    ScanCode{VK_F5, 0x3F},       ScanCode{VK_F6, 0x40},        ScanCode{VK_F7, 0x41},
    ScanCode{VK_F8, 0x42},       ScanCode{VK_F9, 0x43},        ScanCode{VK_F10, 0x44},
    ScanCode{VK_HOME, 0x47},     ScanCode{VK_UP, 0x48},        ScanCode{VK_PRIOR, 0x49},
    ScanCode{VK_LEFT, 0x4B},     ScanCode{VK_RIGHT, 0x4D},     ScanCode{VK_END, 0x4F},
    ScanCode{VK_DOWN, 0x50},     ScanCode{VK_NEXT, 0x51},      ScanCode{VK_INSERT, 0x52},
    ScanCode{VK_DELETE, 0x53},   ScanCode{VK_F11, 0x57},       ScanCode{VK_F12, 0x58},
};

// The unshifted key of each ASCII symbol.
struct SymbolKey {
    char16_t ch;
    UINT vk;
};

constexpr std::array kSymbolKeys = {
    SymbolKey{u' ', VK_SPACE},     SymbolKey{u'\r', VK_RETURN},    SymbolKey{u'\t', VK_TAB},
    SymbolKey{u'\b', VK_BACK},     SymbolKey{u'-', VK_OEM_MINUS},  SymbolKey{u'_', VK_OEM_MINUS},
    SymbolKey{u'=', VK_OEM_PLUS},  SymbolKey{u'+', VK_OEM_PLUS},   SymbolKey{u'[', VK_OEM_4},
    SymbolKey{u'{', VK_OEM_4},     SymbolKey{u']', VK_OEM_6},      SymbolKey{u'}', VK_OEM_6},
    SymbolKey{u';', VK_OEM_1},     SymbolKey{u':', VK_OEM_1},      SymbolKey{u'\'', VK_OEM_7},
    SymbolKey{u'"', VK_OEM_7},     SymbolKey{u'`', VK_OEM_3},      SymbolKey{u'~', VK_OEM_3},
    SymbolKey{u'\\', VK_OEM_5},    SymbolKey{u'|', VK_OEM_5},      SymbolKey{u',', VK_OEM_COMMA},
    SymbolKey{u'<', VK_OEM_COMMA}, SymbolKey{u'.', VK_OEM_PERIOD}, SymbolKey{u'>', VK_OEM_PERIOD},
    SymbolKey{u'/', VK_OEM_2},     SymbolKey{u'?', VK_OEM_2},      SymbolKey{u'!', '1'},
    SymbolKey{u'@', '2'},          SymbolKey{u'#', '3'},           SymbolKey{u'$', '4'},
    SymbolKey{u'%', '5'},          SymbolKey{u'^', '6'},           SymbolKey{u'&', '7'},
    SymbolKey{u'*', '8'},          SymbolKey{u'(', '9'},           SymbolKey{u')', '0'},
};

}  // namespace

std::optional<UINT> virtualKeyNamed(std::string_view name) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == name)
            return key.vk;
    }
    if (name.size() == 4 && name.substr(0, 3) == "VK_") {
        char c = name[3];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<UINT>(c);
    }
    if (name.size() >= 5 && name.size() <= 6 && name.substr(0, 4) == "VK_F") {
        int n = 0;
        for (char c : name.substr(4)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 24)
            return static_cast<UINT>(VK_F1 + n - 1);
    }
    return std::nullopt;
}

UINT scanCodeOf(UINT vk) {
    for (const ScanCode& entry : kScanCodes) {
        if (entry.vk == vk)
            return entry.code;
    }
    return 0;
}

std::optional<UINT> virtualKeyOfCharacter(char16_t ch) {
    if (ch >= u'a' && ch <= u'z')
        return static_cast<UINT>(ch - u'a' + 'A');
    if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9'))
        return static_cast<UINT>(ch);
    for (const SymbolKey& entry : kSymbolKeys) {
        if (entry.ch == ch)
            return entry.vk;
    }
    return std::nullopt;
}

bool keyMakesOwnCharacter(UINT vk) {
    return vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE;
}
