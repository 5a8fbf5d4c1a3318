// Start-menu shortcut files: what is written, what is read back, and what is refused.
#include <gtest/gtest.h>

#include "device/Shortcut.h"
#include "sip/InputMethodCatalog.h"

namespace {

TEST(Shortcuts, TextIsTheTargetLengthHashAndTarget) {
    EXPECT_EQ(shortcutText(u"\\Windows\\notes.exe"), "18#\\Windows\\notes.exe");
    EXPECT_EQ(parseShortcut("18#\\Windows\\notes.exe"), std::u16string(u"\\Windows\\notes.exe"));
    EXPECT_EQ(parseShortcut("18#\\Windows\\notes.exe\r\n"),
              std::u16string(u"\\Windows\\notes.exe"));
    // The length counts characters, not bytes.
    EXPECT_EQ(parseShortcut("2#\xD8\xB3\xD8\xB3"), std::u16string(u"\u0633\u0633"));
}

TEST(Shortcuts, MalformedFilesAreRefused) {
    EXPECT_FALSE(parseShortcut("").has_value());
    EXPECT_FALSE(parseShortcut("#\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("12\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("99#\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("x4#abcd").has_value());
    EXPECT_FALSE(parseShortcut("123456#a").has_value());
    EXPECT_FALSE(parseShortcut("3#a\tb").has_value());
    EXPECT_FALSE(parseShortcut("1#\xC3").has_value());
    EXPECT_FALSE(parseShortcut("0#").has_value());
    EXPECT_FALSE(parseShortcut(std::string(kMaxShortcutBytes + 1, '1')).has_value());
}

TEST(ClassIdentifiers, TextRoundTripsAndMalformedTextIsRefused) {
    const std::u16string text = u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}";
    auto clsid = parseClsid(text);
    ASSERT_TRUE(clsid.has_value());
    EXPECT_EQ(clsid->Data1, 0x6B1D3E27u);
    EXPECT_EQ(clsid->Data2, 0x4C8A);
    EXPECT_EQ(clsid->Data4[7], 0x81);
    EXPECT_EQ(clsidText(*clsid), text);
    EXPECT_TRUE(parseClsid(u"{6b1d3e27-4c8a-4f19-9e52-a07d3c2b5e81}").has_value());
    EXPECT_FALSE(parseClsid(u"6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81").has_value());
    EXPECT_FALSE(parseClsid(u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E8G}").has_value());
    EXPECT_FALSE(parseClsid(u"{6B1D3E27+4C8A-4F19-9E52-A07D3C2B5E81}").has_value());
    EXPECT_FALSE(parseClsid(u"").has_value());
}

}  // namespace
