// The marks an injected key message carries: its scan code, and the bit that keeps
// TranslateMessage from making a second character of a key whose character comes by itself.
#include <device/Input.h>

#include "UserTest.h"

namespace {

using namespace usertest;
using KeyMessages = UserTest;

TEST_F(KeyMessages, CarryScanCodeAndMarkedKeysMakeNoCharacter) {
    HWND w = makeWindow(WS_VISIBLE, 0, 0, 50, 50);
    SetForegroundWindow(w);
    SetFocus(w);
    pump();
    recorder().clear();

    device::keyDown('A', 0x1E);
    device::keyUp('A', 0x1E);
    device::keyDown('B', 0x30, device::kKeyNoCharacter);
    device::keyUp('B', 0x30);
    pump();

    auto downs = recorder().with(WM_KEYDOWN);
    auto ups = recorder().with(WM_KEYUP);
    auto chars = recorder().with(WM_CHAR);
    ASSERT_EQ(downs.size(), 2u);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(static_cast<DWORD>(downs[0].lParam), 0x001E0001u);
    EXPECT_EQ(static_cast<DWORD>(ups[0].lParam), 0xC01E0001u);
    EXPECT_EQ(static_cast<DWORD>(downs[1].lParam), 0x02300001u);
    // Only the unmarked key was translated into a character.
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(u'a'));
}

}  // namespace
