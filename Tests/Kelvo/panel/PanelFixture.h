// A panel in the test input panel host's SIP window, on a skin the test writes, with helpers
// that press keys and read what the host received.
#pragma once

#include <DeviceTest.h>
#include <TestInputPanelHost.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "SkinBuilder.h"
#include "inputmethod/Settings.h"
#include "panel/MyPanel.h"

namespace skintest {

inline RECT rect(LONG l, LONG t, LONG r, LONG b) {
    return RECT{l, t, r, b};
}

// The folder and name the fixture's registry points at.
inline constexpr const WCHAR* kSkinFile = u"\\Skins\\Test.ksk";

}  // namespace skintest

class PanelTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        setRegistryText(u"SkinsPath", u"\\Skins");
        setRegistryText(u"CurSkin", u"Test");
        CreateDirectoryW(u"\\Skins", nullptr);
        host = std::make_unique<TestInputPanelHost>(80);
    }
    void TearDown() override {
        panel.reset();
        UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
        host.reset();
        DeviceTest::TearDown();
    }

    static void setRegistryText(const WCHAR* name, const std::u16string& text) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key,
                                  &disposition),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() * 2));
        RegCloseKey(key);
    }

    // Copies a skin file the build made into the skins folder as "Kelvo", the current skin.
    void installBuiltSkin(const std::filesystem::path& skinFile) {
        std::ifstream in(skinFile, std::ios::binary);
        ASSERT_TRUE(in) << "the skin is built first: " << skinFile;
        writeDeviceFile(u"\\Skins\\Kelvo.ksk", std::string(std::istreambuf_iterator<char>(in), {}));
        setRegistryText(u"SkinsPath", u"\\Skins");
        setRegistryText(u"CurSkin", u"Kelvo");
    }

    void writeSkin(const skintest::Skin& skin) {
        ASSERT_TRUE(skintest::writeSkin(skintest::kSkinFile, skin));
    }

    // A skin whose portrait class holds the given layouts.
    void writePortraitSkin(std::vector<skintest::Layout> layouts) {
        skintest::Skin skin;
        skin.classes[u"P"] = std::move(layouts);
        writeSkin(skin);
    }

    void createPanel() {
        panel = std::make_unique<CMyPanel>();
        ASSERT_TRUE(panel->CreatePanelWindow(host->sipWindow()));
        panel->callback = &host->callback();
        host->pump();
    }

    // Shows the first layout of the panel's skin whose flags include `flag`; false when none has.
    bool showFirstLayoutWith(WORD flag) {
        for (int n = 0; n < 128; ++n) {
            panel->SwitchLayout(n);
            if (!panel->layout || (n > 0 && panel->layout->index == 0))
                return false;  // past the last layout
            if (panel->layout->flags & flag)
                return true;
        }
        return false;
    }

    HWND panelWindow() const { return panel->GetSafeHwnd(); }
    void tap(int x, int y) { host->tap(panelWindow(), x, y); }
    void down(int x, int y) { host->stylusDown(panelWindow(), x, y); }
    void move(int x, int y) { host->stylusMove(panelWindow(), x, y); }
    void up(int x, int y) { host->stylusUp(panelWindow(), x, y); }
    std::vector<CallbackCall>& calls() { return host->callback().calls; }

    std::unique_ptr<TestInputPanelHost> host;
    std::unique_ptr<CMyPanel> panel;
};
