// The input panel host as programs meet it: after the panel is shown, hidden or resized, and
// after a rotation, every top-level window hears WM_SETTINGCHANGE with SPI_SETSIPINFO, and what
// SipGetInfo reports by then (the visible desktop, SIPF_ON) is already the new state.
#include <DeviceTest.h>
#include <device/Display.h>
#include <device/Screen.h>
#include <gmock/gmock.h>
#include <windows.h>

#include <string>
#include <vector>

#include "sip/InputPanelHost.h"

namespace {

// What the input method was asked and what the listening window heard, in order.
std::vector<std::string> g_log;

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}

// An input method that docks a panel of `height` pixels on the SIP window's bottom edge, as the
// keyboard does, and records the host's calls.
class DockingInputMethod : public IInputMethod2 {
public:
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override { return --m_refs; }
    STDMETHOD(Select)(HWND sip) override {
        m_sip = sip;
        g_log.push_back("Select");
        return S_OK;
    }
    STDMETHOD(Deselect)() override {
        g_log.push_back("Deselect");
        return S_OK;
    }
    STDMETHOD(Showing)() override {
        g_log.push_back("Showing");
        return S_OK;
    }
    STDMETHOD(Hiding)() override {
        g_log.push_back("Hiding");
        return S_OK;
    }
    STDMETHOD(GetInfo)(IMINFO* info) override {
        g_log.push_back("GetInfo");
        info->fdwFlags = SIPF_DOCKED;
        info->rcSipRect = dock();
        const RECT& r = info->rcSipRect;
        MoveWindow(m_sip, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        return S_OK;
    }
    STDMETHOD(ReceiveSipInfo)(SIPINFO*) override { return S_OK; }
    STDMETHOD(RegisterCallback)(IIMCallback* callback) override {
        m_callback = callback;
        return S_OK;
    }
    STDMETHOD(GetImData)(DWORD, void*) override { return E_FAIL; }
    STDMETHOD(SetImData)(DWORD, void*) override { return E_FAIL; }
    STDMETHOD(UserOptionsDlg)(HWND) override { return S_OK; }
    STDMETHOD(SetIMMActiveContext)(HWND, BOOL, DWORD, DWORD, DWORD) override { return S_OK; }
    STDMETHOD(RegisterCallback2)(IIMCallback2*) override { return S_OK; }

    // The panel lays itself out again at a new height and tells the host.
    void relayout(int height) {
        m_height = height;
        IMINFO info{};
        info.cbSize = sizeof(info);
        info.fdwFlags = SIPF_DOCKED;
        info.rcSipRect = dock();
        m_callback->SetImInfo(&info);
    }
    ULONG refs() const { return m_refs; }

private:
    RECT dock() const {
        const int bottom = device::screenHeight() - 26;
        return RECT{0, bottom - m_height, device::screenWidth(), bottom};
    }

    ULONG m_refs = 1;
    HWND m_sip = nullptr;
    IIMCallback* m_callback = nullptr;
    int m_height = 80;
};

// A program's window: when it hears of the panel it notes what SipGetInfo says at that moment.
LRESULT CALLBACK listen(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTINGCHANGE && wParam == SPI_SETSIPINFO) {
        SIPINFO info{};
        info.cbSize = sizeof(info);
        if (!SipGetInfo(&info)) {
            g_log.push_back("SipGetInfo failed");
            return 0;
        }
        g_log.push_back(std::string("SPI_SETSIPINFO ") +
                        ((info.fdwFlags & SIPF_ON) ? "on " : "off ") +
                        rectText(info.rcVisibleDesktop));
        return 0;
    }
    if (msg == WM_SETTINGCHANGE)
        g_log.push_back("WM_SETTINGCHANGE " + std::to_string(wParam));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class InputPanelHostTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        g_log.clear();
        setWorkArea();
        WNDCLASSW wc{};
        wc.lpfnWndProc = listen;
        wc.lpszClassName = u"PanelListener";
        RegisterClassW(&wc);
        m_program = CreateWindowExW(0, u"PanelListener", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240,
                                    268, nullptr, nullptr, nullptr, nullptr);
        std::string error;
        m_inputMethod.AddRef();  // the host's reference
        ASSERT_TRUE(m_host.start(&m_inputMethod, CLSID{}, error)) << error;
    }
    void TearDown() override {
        m_host.stop();
        DestroyWindow(m_program);
        DeviceTest::TearDown();
    }
    static void setWorkArea() {
        RECT work{0, 26, device::screenWidth(), device::screenHeight() - 26};
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    }
    static RECT windowRect(HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    }

    DockingInputMethod m_inputMethod;
    InputPanelHost m_host{[] { return device::screenHeight() - 26; }, [] {}};
    HWND m_program = nullptr;
};

using ::testing::ElementsAre;

TEST_F(InputPanelHostTest, ShowingAndHidingAreToldAfterTheyHappen) {
    // Started: selected, laid out, shown, and then told.
    EXPECT_THAT(g_log, ElementsAre("Select", "GetInfo", "Showing", "GetInfo",
                                   "SPI_SETSIPINFO on 0 26 240 214"));
    g_log.clear();
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags, static_cast<DWORD>(SIPF_DOCKED | SIPF_ON));
    EXPECT_EQ(rectText(info.rcSipRect), "0 214 240 294");

    ASSERT_TRUE(SipShowIM(SIPF_OFF));
    EXPECT_THAT(g_log, ElementsAre("Hiding", "SPI_SETSIPINFO off 0 26 240 294"));
    EXPECT_FALSE(IsWindowVisible(m_host.sipWindow()));
    // Asking for what already is changes nothing and tells nobody.
    g_log.clear();
    ASSERT_TRUE(SipShowIM(SIPF_OFF));
    EXPECT_TRUE(g_log.empty());

    // SipSetInfo's SIPF_ON shows the panel as SipShowIM does.
    info.fdwFlags = SIPF_ON;
    ASSERT_TRUE(SipSetInfo(&info));
    EXPECT_THAT(g_log, ElementsAre("Showing", "GetInfo", "SPI_SETSIPINFO on 0 26 240 214"));
    EXPECT_TRUE(IsWindowVisible(m_host.sipWindow()));
    // The SIP window stays where the input method put it, and the listener was only told.
    EXPECT_EQ(rectText(windowRect(m_host.sipWindow())), "0 214 240 294");
    EXPECT_EQ(rectText(windowRect(m_program)), "0 26 240 294");
}

TEST_F(InputPanelHostTest, APanelThatLaysItselfOutAgainIsToldOnlyWhenItsSizeChangesWhileUp) {
    g_log.clear();
    m_inputMethod.relayout(110);
    EXPECT_THAT(g_log, ElementsAre("SPI_SETSIPINFO on 0 26 240 184"));
    g_log.clear();
    m_inputMethod.relayout(110);
    EXPECT_TRUE(g_log.empty());

    // While hidden the panel's size matters to nobody; shown again it covers its new height.
    SipShowIM(SIPF_OFF);
    g_log.clear();
    m_inputMethod.relayout(60);
    EXPECT_TRUE(g_log.empty());
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(rectText(info.rcVisibleDesktop), "0 26 240 294");
    SipShowIM(SIPF_ON);
    EXPECT_THAT(g_log, ElementsAre("Showing", "GetInfo", "SPI_SETSIPINFO on 0 26 240 234"));
}

TEST_F(InputPanelHostTest, ARotationIsToldWithTheNewVisibleDesktop) {
    g_log.clear();
    ASSERT_TRUE(device::setScreenSize(320, 240));
    setWorkArea();
    device::onScreenSizeChanged();
    m_host.screenChanged();
    EXPECT_THAT(g_log, ElementsAre("WM_SETTINGCHANGE " + std::to_string(SETTINGCHANGE_RESET),
                                   "Showing", "GetInfo", "SPI_SETSIPINFO on 0 26 320 134"));

    // Hidden, the panel is not asked, and programs still hear of the new work area.
    SipShowIM(SIPF_OFF);
    g_log.clear();
    ASSERT_TRUE(device::setScreenSize(240, 320));
    setWorkArea();
    m_host.screenChanged();
    EXPECT_THAT(g_log, ElementsAre("SPI_SETSIPINFO off 0 26 240 294"));
}

TEST_F(InputPanelHostTest, VisibleDesktopKeepsToTheWorkArea) {
    // A panel reaching above the work area leaves nothing visible, never a negative height.
    g_log.clear();
    m_inputMethod.relayout(300);
    EXPECT_THAT(g_log, ElementsAre("SPI_SETSIPINFO on 0 26 240 26"));
    // One docked below the work area covers nothing of it.
    RECT work{0, 26, 240, 200};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    m_inputMethod.relayout(80);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(rectText(info.rcVisibleDesktop), "0 26 240 200");
    EXPECT_EQ(rectText(info.rcSipRect), "0 214 240 294");
}

TEST_F(InputPanelHostTest, StoppingDeselectsReleasesAndLeavesNoHost) {
    g_log.clear();
    m_host.stop();
    EXPECT_THAT(g_log, ElementsAre("Deselect"));
    EXPECT_EQ(m_inputMethod.refs(), 1u);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(SipGetInfo(&info));
}

}  // namespace
