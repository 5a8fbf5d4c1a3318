// A test device provisioned with Kelvo.dll (copied to "\Windows\" and registered), a skin the
// test writes, the test input panel host, and the input method created through COM.
#pragma once

#include <DeviceTest.h>
#include <DeviceThread.h>
#include <TestInputPanelHost.h>
#include <device/ServerLibrary.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "SkinBuilder.h"

inline constexpr CLSID kKelvoClass = {
    0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};
inline constexpr const WCHAR* kKelvoClassKey = u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}";

class ServerTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        setSetting(u"SkinsPath", u"\\Skins");
        setSetting(u"CurSkin", u"Test");
        CreateDirectoryW(u"\\Skins", nullptr);
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        host = std::make_unique<TestInputPanelHost>(80);
        ASSERT_EQ(device::registerServerLibrary(KELVO_DLL_PATH), S_OK);
    }
    void TearDown() override {
        if (library != nullptr)
            FreeLibrary(library);
        host.reset();
        CoUninitialize();
        DeviceTest::TearDown();
    }

    static void setSetting(const WCHAR* name, const std::u16string& text) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, nullptr, 0, 0,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() * 2));
        RegCloseKey(key);
    }
    static void setSettingNumber(const WCHAR* name, DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, nullptr, 0, 0,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(key);
    }

    // A layout of width x height whose row 0 holds the characters of `keys`, 40 pixels each.
    static skintest::Layout layoutOf(int width, int height, std::u16string keys) {
        skintest::Layout layout;
        layout.width = width;
        layout.height = height;
        layout.picture = skintest::bmpPicture(width, height, 0xC0C0C0);
        std::vector<skintest::Key> row;
        for (size_t i = 0; i < keys.size(); ++i) {
            const LONG left = static_cast<LONG>(i) * 40;
            row.push_back(skintest::charKey(keys[i], static_cast<BYTE>(keys[i] & 0x5F),
                                            RECT{left, 0, left + 40, 40}));
        }
        layout.rows = {row};
        return layout;
    }

    void writeSkin(const std::u16string& name, const skintest::Skin& skin) {
        ASSERT_TRUE(skintest::writeSkin(u"\\Skins\\" + name + u".ksk", skin));
    }
    // The usual skin: portrait layouts 0 ("ab", 240 x 80) and 1 ("cd", 240 x 80), landscape
    // layout 0 ("ef", 320 x 60).
    void writeUsualSkin() {
        skintest::Skin skin;
        skin.classes[u"P"] = {layoutOf(240, 80, u"ab"), layoutOf(240, 80, u"cd")};
        skin.classes[u"L"] = {layoutOf(320, 60, u"ef")};
        writeSkin(u"Test", skin);
    }

    IInputMethod2* create() {
        IInputMethod2* object = nullptr;
        EXPECT_EQ(CoCreateInstance(kKelvoClass, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod2,
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }

    // The loaded library's own copy (loaded once more so that the test may call its exports).
    template <typename Proc>
    Proc exported(const char* name) {
        if (library == nullptr)
            library = LoadLibraryW(u"\\Windows\\Kelvo.dll");
        return library ? reinterpret_cast<Proc>(GetProcAddress(library, name)) : nullptr;
    }
    HRESULT canUnloadNow() {
        auto proc = exported<HRESULT (*)()>("DllCanUnloadNow");
        return proc ? proc() : E_UNEXPECTED;
    }

    HWND panelWindow() const { return GetWindow(host->sipWindow(), GW_CHILD); }

    // UserOptionsDlg run on a device thread of its own, as KvHelper runs it, with the sheet
    // cancelled as soon as it shows. This thread keeps handling its windows' messages meanwhile,
    // as the sheet's owner may be one of them. The method's result.
    HRESULT optionsCancelled(IInputMethod2* im, HWND parent) {
        std::atomic<HRESULT> result{E_FAIL};
        std::atomic<bool> done{false};
        DeviceThread runner([&] {
            result = im->UserOptionsDlg(parent);
            done = true;
        });
        bool cancelled = false;
        for (int round = 0; round < 1000 && !done; ++round) {
            host->pump();
            settleDevice();
            HWND sheet = FindWindowW(WC_DIALOG, u"Kelvo Settings");
            if (sheet != nullptr && !cancelled) {
                PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                cancelled = true;
            }
        }
        runner.join();
        EXPECT_TRUE(cancelled);
        return result;
    }
    std::vector<CallbackCall>& calls() { return host->callback().calls; }

    // The layout number GetImData reports.
    static WORD shownLayout(IInputMethod2* im) {
        WORD block[2] = {2, 0x1234};
        EXPECT_EQ(im->GetImData(4, block), S_OK);
        return block[1];
    }
    static HRESULT sendWords(IInputMethod2* im, std::vector<WORD> words) {
        return im->SetImData(static_cast<DWORD>(words.size() * 2), words.data());
    }

    std::unique_ptr<TestInputPanelHost> host;
    HMODULE library = nullptr;
};

// The pair of calls a tap on a character key sends.
inline std::vector<CallbackCall> charPair(UINT vk, UINT ch) {
    return {CallbackCall::charEvent(vk, 0x80, 0, ch), CallbackCall::charEvent(vk, 0x10040, 0, ch)};
}
