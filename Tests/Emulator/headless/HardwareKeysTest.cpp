// The device's hardware keyboard tables: names, scan codes, the keys characters are typed
// with, and which keys translate into their own character.
#include <gtest/gtest.h>
#include <winuser.h>

#include "frontend/HardwareKeys.h"

namespace {

TEST(HardwareKeys, NamesScanCodesAndCharactersAgreeWithAPcKeyboard) {
    EXPECT_EQ(virtualKeyNamed("VK_F24"), std::optional<UINT>(VK_F24));
    EXPECT_FALSE(virtualKeyNamed("VK_F25").has_value());
    EXPECT_FALSE(virtualKeyNamed("VK_F0").has_value());
    EXPECT_FALSE(virtualKeyNamed("VK_F1x").has_value());
    EXPECT_FALSE(virtualKeyNamed("vk_back").has_value());
    EXPECT_EQ(virtualKeyNamed("VK_7"), std::optional<UINT>('7'));

    EXPECT_EQ(scanCodeOf('A'), 0x1Eu);
    EXPECT_EQ(scanCodeOf(VK_RETURN), 0x1Cu);
    EXPECT_EQ(scanCodeOf(VK_SPACE), 0x39u);
    EXPECT_EQ(scanCodeOf(VK_F12), 0x58u);
    EXPECT_EQ(scanCodeOf(VK_APPS), 0u);

    EXPECT_EQ(virtualKeyOfCharacter(u'a'), std::optional<UINT>('A'));
    EXPECT_EQ(virtualKeyOfCharacter(u'Z'), std::optional<UINT>('Z'));
    EXPECT_EQ(virtualKeyOfCharacter(u'?'), std::optional<UINT>(VK_OEM_2));
    EXPECT_EQ(virtualKeyOfCharacter(u')'), std::optional<UINT>('0'));
    EXPECT_FALSE(virtualKeyOfCharacter(u'\u0634').has_value());

    EXPECT_TRUE(keyMakesOwnCharacter(VK_BACK));
    EXPECT_TRUE(keyMakesOwnCharacter(VK_RETURN));
    EXPECT_FALSE(keyMakesOwnCharacter('A'));
    EXPECT_FALSE(keyMakesOwnCharacter(VK_SPACE));
}

}  // namespace
