// What the panel's resets (skin reload, screen change, the message face) do to the modifiers
// the application was told are down: each gets its key-up, and only those.
#include <device/Display.h>
#include <device/Screen.h>

#include <functional>

#include "TypingLayouts.h"

using namespace skintest;
using Call = CallbackCall;
using KeyStateReset = PanelTest;

namespace {

// Row 1 of the typing layout with a fifth slot whose key sends no key stroke.
Layout modifierLayout() {
    Layout layout = typingLayout();
    layout.rows[1][3] = Key{0x5000 | kLatching, 0, 0, rect(120, 40, 160, 80)};
    return layout;
}

std::vector<Call> virtualKeys(const std::vector<Call>& calls) {
    std::vector<Call> keys;
    for (const Call& call : calls)
        if (call.kind == Call::Kind::SendVirtualKey)
            keys.push_back(call);
    return keys;
}

}  // namespace

TEST_F(KeyStateReset, EveryResetSendsTheKeyUpOfEachModifierStillDown) {
    Layout landscape = modifierLayout();
    landscape.width = 320;
    Skin skin;
    skin.classes[u"P"] = {modifierLayout(), secondLayout()};
    skin.classes[u"L"] = {landscape};
    writeSkin(skin);

    const std::vector<std::pair<const char*, std::function<void()>>> resets = {
        {"skin reload", [&] { SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0); }},
        {"screen change",
         [&] {
             ASSERT_TRUE(device::setScreenSize(device::screenHeight(), device::screenWidth()));
             device::onScreenSizeChanged();
             host->pump();
             host->advance(kScreenChangeMs);
         }},
        {"message face",
         [&] {
             DeleteFileW(kSkinFile);
             tap(220, 20);  // to layout 1: the file is gone
             ASSERT_TRUE(panel->layout->flags & LF_MESSAGE);
             writeSkin(skin);
             tap(panel->layout->width - 40, 70);  // Try Again
         }},
    };
    for (const auto& [name, reset] : resets) {
        SCOPED_TRACE(name);
        if (!panel)
            createPanel();
        ASSERT_FALSE(panel->layout->flags & LF_MESSAGE);
        tap(60, 60);   // Control: key-down of 0x11
        tap(60, 60);   // and its key-up again
        tap(100, 60);  // slot 4: key-down of 0x5B
        tap(140, 60);  // slot 5: latched, no key stroke
        tap(20, 60);   // one-shot Shift last (any other key releases it): key-down of 0x10
        ASSERT_EQ(panel->latched[4], 1);
        calls().clear();
        reset();
        EXPECT_EQ(virtualKeys(calls()),
                  (std::vector<Call>{Call::virtualKey(0x10, KEYEVENTF_KEYUP),
                                     Call::virtualKey(0x5B, KEYEVENTF_KEYUP)}));
        for (BYTE latch : panel->latched)
            EXPECT_EQ(latch, 0);
        // Nothing is down any more: a second reset sends nothing.
        calls().clear();
        SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
        EXPECT_TRUE(virtualKeys(calls()).empty());
    }
}
