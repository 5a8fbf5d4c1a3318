// The Sip* calls reach the installed input panel host, check their arguments, and fail
// without a host.
#include <DeviceTest.h>
#include <TestInputPanelHost.h>

using Sip = DeviceTest;

TEST_F(Sip, CallsFailWithoutAHost) {
    SIPINFO info{};
    info.cbSize = sizeof(info);
    CLSID clsid{};
    SetLastError(0);
    EXPECT_FALSE(SipGetInfo(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_FALSE(SipSetInfo(&info));
    EXPECT_FALSE(SipGetCurrentIM(&clsid));
    EXPECT_FALSE(SipShowIM(SIPF_OFF));
}

TEST_F(Sip, InfoComesFromTheDockedSipWindowAndDataBlocksReachTheHost) {
    TestInputPanelHost host(80);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags, static_cast<DWORD>(SIPF_DOCKED | SIPF_ON));
    EXPECT_EQ(info.rcSipRect.top, 240);
    EXPECT_EQ(info.rcSipRect.bottom, 320);
    EXPECT_EQ(info.rcVisibleDesktop.bottom, 240);

    DWORD block = 0x00020003;
    info.dwImDataSize = sizeof(block);
    info.pvImData = &block;
    ASSERT_TRUE(SipSetInfo(&info));
    ASSERT_EQ(host.imDataBlocks.size(), 1u);
    EXPECT_EQ(host.imDataBlocks[0], (std::vector<BYTE>{3, 0, 2, 0}));

    info.cbSize = 40;
    SetLastError(0);
    EXPECT_FALSE(SipSetInfo(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    info.cbSize = sizeof(info);
    info.pvImData = nullptr;
    EXPECT_FALSE(SipSetInfo(&info));
    EXPECT_EQ(host.imDataBlocks.size(), 1u);

    EXPECT_TRUE(SipShowIM(SIPF_OFF));
    EXPECT_FALSE(IsWindowVisible(host.sipWindow()));
    EXPECT_FALSE(SipShowIM(7));
    CLSID clsid{};
    EXPECT_FALSE(SipGetCurrentIM(&clsid));  // no input method selected
    EXPECT_FALSE(SipGetCurrentIM(nullptr));
}

TEST_F(Sip, RecordingCallbackKeepsEveryCallInOrder) {
    TestInputPanelHost host;
    IIMCallback* callback = &host.callback();
    UINT shift = 0x20000000, ch = u'x';
    callback->SendVirtualKey(0x10, 0);
    callback->SendCharEvents(0x58, 0x20000080, 1, &shift, &ch);
    WCHAR text[] = u"ab";
    callback->SendString(text, 2);
    EXPECT_EQ(
        host.callback().calls,
        (std::vector<CallbackCall>{CallbackCall::virtualKey(0x10, 0),
                                   CallbackCall::charEvent(0x58, 0x20000080, 0x20000000, u'x'),
                                   CallbackCall::string(u"ab")}));
}

TEST_F(Sip, SettingChangesReachTheSipWindowsChildren) {
    TestInputPanelHost host;
    static int seen;
    seen = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SETTINGCHANGE && w == SETTINGCHANGE_RESET)
            ++seen;
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = u"SipChild";
    RegisterClassW(&wc);
    HWND child = CreateWindowExW(0, u"SipChild", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                 host.sipWindow(), nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    SendMessageW(host.sipWindow(), WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    EXPECT_EQ(seen, 1);
}

namespace {

// An input method that keeps the data blocks it is given.
struct DataInputMethod : IInputMethod {
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Select)(HWND) override { return S_OK; }
    STDMETHOD(Deselect)() override { return S_OK; }
    STDMETHOD(Showing)() override { return S_OK; }
    STDMETHOD(Hiding)() override { return S_OK; }
    STDMETHOD(GetInfo)(IMINFO*) override { return S_OK; }
    STDMETHOD(ReceiveSipInfo)(SIPINFO*) override { return S_OK; }
    STDMETHOD(RegisterCallback)(IIMCallback*) override { return S_OK; }
    STDMETHOD(GetImData)(DWORD, void*) override { return S_OK; }
    STDMETHOD(SetImData)(DWORD size, void* data) override {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        blocks.emplace_back(bytes, bytes + size);
        return S_OK;
    }
    STDMETHOD(UserOptionsDlg)(HWND) override { return S_OK; }
    std::vector<std::vector<BYTE>> blocks;
};

}  // namespace

TEST_F(Sip, DataBlocksReachTheCurrentInputMethodUnchanged) {
    TestInputPanelHost host;
    DataInputMethod inputMethod;
    const CLSID clsid = {
        0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};
    host.setInputMethod(&inputMethod, clsid);
    CLSID current{};
    ASSERT_TRUE(SipGetCurrentIM(&current));
    EXPECT_TRUE(current == clsid);
    WORD block[2] = {3, 0x0005};
    SIPINFO info{};
    info.cbSize = sizeof(info);
    info.dwImDataSize = sizeof(block);
    info.pvImData = block;
    ASSERT_TRUE(SipSetInfo(&info));
    ASSERT_EQ(inputMethod.blocks.size(), 1u);
    EXPECT_EQ(inputMethod.blocks[0], (std::vector<BYTE>{3, 0, 5, 0}));
}
