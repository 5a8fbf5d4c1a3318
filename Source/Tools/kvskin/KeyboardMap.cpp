// Character to virtual key tables: each keyboard's plain and shifted characters by key.
#include "KeyboardMap.h"

#include <array>
#include <utility>

namespace {

struct Place {
    char16_t ch;
    BYTE vk;
};

// Virtual keys of the punctuation places (OEM keys of the US arrangement).
constexpr BYTE kSemicolon = 0xBA;
constexpr BYTE kEquals = 0xBB;
constexpr BYTE kComma = 0xBC;
constexpr BYTE kMinus = 0xBD;
constexpr BYTE kPeriod = 0xBE;
constexpr BYTE kSlash = 0xBF;
constexpr BYTE kGrave = 0xC0;
constexpr BYTE kOpenBracket = 0xDB;
constexpr BYTE kBackslash = 0xDC;
constexpr BYTE kCloseBracket = 0xDD;
constexpr BYTE kQuote = 0xDE;

constexpr Place kFarsi[] = {
    // Plain letters, top row to bottom row.
    {u'\u0636', 'Q'},
    {u'\u0635', 'W'},
    {u'\u062B', 'E'},
    {u'\u0642', 'R'},
    {u'\u0641', 'T'},
    {u'\u063A', 'Y'},
    {u'\u0639', 'U'},
    {u'\u0647', 'I'},
    {u'\u062E', 'O'},
    {u'\u062D', 'P'},
    {u'\u062C', kOpenBracket},
    {u'\u0686', kCloseBracket},
    {u'\u0634', 'A'},
    {u'\u0633', 'S'},
    {u'\u06CC', 'D'},
    {u'\u0628', 'F'},
    {u'\u0644', 'G'},
    {u'\u0627', 'H'},
    {u'\u062A', 'J'},
    {u'\u0646', 'K'},
    {u'\u0645', 'L'},
    {u'\u06A9', kSemicolon},
    {u'\u06AF', kQuote},
    {u'\u0638', 'Z'},
    {u'\u0637', 'X'},
    {u'\u0632', 'C'},
    {u'\u0631', 'V'},
    {u'\u0630', 'B'},
    {u'\u062F', 'N'},
    {u'\u067E', 'M'},
    {u'\u0648', kComma},
    {u'.', kPeriod},
    {u'/', kSlash},
    // Shifted places.
    {u'\u0652', 'Q'},
    {u'\u064C', 'W'},
    {u'\u064D', 'E'},
    {u'\u064B', 'R'},
    {u'\u064F', 'T'},
    {u'\u0650', 'Y'},
    {u'\u064E', 'U'},
    {u'\u0651', 'I'},
    {u']', 'O'},
    {u'[', 'P'},
    {u'}', kOpenBracket},
    {u'{', kCloseBracket},
    {u'\u0624', 'A'},
    {u'\u0626', 'S'},
    {u'\u064A', 'D'},
    {u'\u0625', 'F'},
    {u'\u0623', 'G'},
    {u'\u0622', 'H'},
    {u'\u0629', 'J'},
    {u'\u00BB', 'K'},
    {u'\u00AB', 'L'},
    {u':', kSemicolon},
    {u'\u061B', kQuote},
    {u'\u0643', 'Z'},
    {u'\u0653', 'X'},
    {u'\u0698', 'C'},
    {u'\u0670', 'V'},
    {u'\u200C', 'B'},
    {u'\u0654', 'N'},
    {u'\u0621', 'M'},
    {u'>', kComma},
    {u'<', kPeriod},
    {u'\u061F', kSlash},
    // Digits and their shifted places.
    {u'\u06F0', '0'},
    {u'\u06F1', '1'},
    {u'\u06F2', '2'},
    {u'\u06F3', '3'},
    {u'\u06F4', '4'},
    {u'\u06F5', '5'},
    {u'\u06F6', '6'},
    {u'\u06F7', '7'},
    {u'\u06F8', '8'},
    {u'\u06F9', '9'},
    {u'!', '1'},
    {u'\u066C', '2'},
    {u'\u066B', '3'},
    {u'\uFDFC', '4'},
    {u'\u066A', '5'},
    {u'\u00D7', '6'},
    {u'\u060C', '7'},
    {u'*', '8'},
    {u')', '9'},
    {u'(', '0'},
    {u'\u0640', kMinus},
    {u'+', kEquals},
    {u'-', kMinus},
    {u'=', kEquals},
    {u'\u200D', kGrave},
    {u'\\', kBackslash},
    {u'|', kBackslash},
};

constexpr Place kLatinPunctuation[] = {
    {u'!', '1'},           {u'@', '2'},           {u'#', '3'},          {u'$', '4'},
    {u'%', '5'},           {u'^', '6'},           {u'&', '7'},          {u'*', '8'},
    {u'(', '9'},           {u')', '0'},           {u'-', kMinus},       {u'_', kMinus},
    {u'=', kEquals},       {u'+', kEquals},       {u'[', kOpenBracket}, {u'{', kOpenBracket},
    {u']', kCloseBracket}, {u'}', kCloseBracket}, {u'\\', kBackslash},  {u'|', kBackslash},
    {u';', kSemicolon},    {u':', kSemicolon},    {u'\'', kQuote},      {u'"', kQuote},
    {u',', kComma},        {u'<', kComma},        {u'.', kPeriod},      {u'>', kPeriod},
    {u'/', kSlash},        {u'?', kSlash},        {u'`', kGrave},       {u'~', kGrave},
};

BYTE farsiKey(char16_t ch) {
    for (const Place& place : kFarsi) {
        if (place.ch == ch)
            return place.vk;
    }
    return 0;
}

BYTE latinKey(char16_t ch) {
    if (ch >= u'a' && ch <= u'z')
        return static_cast<BYTE>('A' + (ch - u'a'));
    if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9'))
        return static_cast<BYTE>(ch);
    for (const Place& place : kLatinPunctuation) {
        if (place.ch == ch)
            return place.vk;
    }
    return 0;
}

}  // namespace

BYTE standardVirtualKey(char16_t ch, Keyboard keyboard) {
    if (ch == u' ')
        return 0x20;
    BYTE first = keyboard == Keyboard::Farsi ? farsiKey(ch) : latinKey(ch);
    if (first != 0)
        return first;
    return keyboard == Keyboard::Farsi ? latinKey(ch) : farsiKey(ch);
}
