// The options sheet's tests: a test device with a skins folder, the test input panel host with
// Kelvo's input method as the system's current one (its panel window hidden, so the sheet's
// tabs can be tapped), and the sheet run by UserOptionsDlg on a device thread of its own, as
// KvHelper runs it, while the test taps its controls.
#pragma once

#include <DeviceTest.h>
#include <DeviceThread.h>
#include <TestInputPanelHost.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "SkinBuilder.h"
#include "inputmethod/InputMethod.h"

// The sheet's pages, by their place among the tabs.
inline constexpr int kGeneralPage = 0;
inline constexpr int kMacrosPage = 1;
inline constexpr int kSkinsPage = 2;
inline constexpr int kAboutPage = 3;

// The colour between a test skin's keys (0x00RRGGBB).
inline constexpr uint32_t kSkinGround = 0x3060C0;

class OptionsTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs UserOptionsDlg on a device thread and waits until the sheet shows.
    void open();
    // OK or Cancel, then waits for UserOptionsDlg to return.
    void confirm();
    void cancel();

    HWND sheet() const { return m_sheet; }
    // The page shown now, and a control of it.
    HWND page() const;
    HWND item(int id) const { return GetDlgItem(page(), id); }
    void showPage(int index) const;
    std::u16string tabText(int index) const;
    std::u16string text(HWND window) const;

    // Drags a trackbar's thumb past one end of its channel.
    void dragThumbToEnd(HWND slider, bool right) const;
    // Chooses an item of a drop-down list with the stylus.
    void choose(HWND combo, int index) const;
    // A drop-down list's items in order.
    static std::vector<std::u16string> listItems(HWND combo);

    static void setText(const WCHAR* name, const std::u16string& value);
    static void setNumber(const WCHAR* name, DWORD value);
    static bool readNumber(const WCHAR* name, DWORD& value);
    static std::u16string readText(const WCHAR* name);

    // A skin file in the skins folder with a layout 0 in each dimension class named, whose
    // picture is width x height pixels of keys on kSkinGround (no picture with width 0).
    void writeSkin(const std::u16string& name, int width = 240, int height = 80,
                   std::vector<std::u16string> classes = {u"P"});

    std::unique_ptr<TestInputPanelHost> host;
    MyIInputMethod* kelvo = nullptr;

private:
    std::unique_ptr<DeviceThread> m_runner;
    HWND m_sheet = nullptr;
};

inline bool operator==(const std::vector<BYTE>& block, const std::vector<WORD>& words) {
    if (block.size() != words.size() * 2)
        return false;
    for (size_t i = 0; i < words.size(); ++i) {
        if ((block[2 * i] | (block[2 * i + 1] << 8)) != words[i])
            return false;
    }
    return true;
}
