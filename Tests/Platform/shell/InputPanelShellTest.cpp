// The shell's input panel helpers for programs: SHHandleWMSettingChange moves a main window over
// the visible desktop as the panel comes and goes, and SHSipInfo reads and sets the panel.
#include <DeviceTest.h>
#include <TestInputPanelHost.h>
#include <aygshell.h>
#include <windows.h>

#include <string>

namespace {

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}

class InputPanelShell : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        m_sizes.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_SIZE)
                m_sizes.push_back(std::to_string(LOWORD(l)) + "x" + std::to_string(HIWORD(l)));
            return DefWindowProcW(h, m, w, l);
        };
        wc.lpszClassName = u"MainWindow";
        RegisterClassW(&wc);
        m_main = CreateWindowExW(0, u"MainWindow", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                 nullptr, nullptr, nullptr);
        m_sizes.clear();
    }
    std::string placeOf(HWND w) const {
        RECT r{};
        GetWindowRect(w, &r);
        return rectText(r);
    }

    static inline std::vector<std::string> m_sizes;
    HWND m_main = nullptr;
    SHACTIVATEINFO m_info{sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
};

TEST_F(InputPanelShell, MainWindowFollowsThePanelUpResizedAndDown) {
    TestInputPanelHost host(80);
    ASSERT_TRUE(SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &m_info));
    EXPECT_EQ(placeOf(m_main), "0 0 240 240");
    EXPECT_EQ(m_info.fSipUp, 1u);
    EXPECT_EQ(m_sizes, std::vector<std::string>{"240x240"});

    // A taller panel, then the panel down: the window follows each time.
    MoveWindow(host.sipWindow(), 0, 200, 240, 120, TRUE);
    SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &m_info);
    EXPECT_EQ(placeOf(m_main), "0 0 240 200");
    host.shown = false;
    SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &m_info);
    EXPECT_EQ(placeOf(m_main), "0 0 240 320");
    EXPECT_EQ(m_info.fSipUp, 0u);

    // A rotation and a new work area are fitted the same way; other settings move nothing.
    host.shown = true;
    SHHandleWMSettingChange(m_main, SETTINGCHANGE_RESET, 0, &m_info);
    EXPECT_EQ(placeOf(m_main), "0 0 240 200");
    host.shown = false;
    SHHandleWMSettingChange(m_main, SPI_SETWORKAREA, 0, &m_info);
    EXPECT_EQ(placeOf(m_main), "0 0 240 320");
    host.shown = true;
    m_sizes.clear();
    EXPECT_TRUE(SHHandleWMSettingChange(m_main, 0x1234, 0, &m_info));
    EXPECT_EQ(placeOf(m_main), "0 0 240 320");
    EXPECT_EQ(m_info.fSipUp, 0u);
    EXPECT_TRUE(m_sizes.empty());
}

TEST_F(InputPanelShell, ChildWindowsAndBadArgumentsAreLeftWhereTheyAre) {
    TestInputPanelHost host(80);
    // A child is laid out by its parent: only the panel's state is noted.
    HWND child = CreateWindowExW(0, u"MainWindow", u"", WS_CHILD | WS_VISIBLE, 0, 0, 240, 320,
                                 m_main, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SHHandleWMSettingChange(child, SPI_SETSIPINFO, 0, &m_info));
    EXPECT_EQ(placeOf(child), "0 0 240 320");
    EXPECT_EQ(m_info.fSipUp, 1u);

    SHACTIVATEINFO unsized{};
    SetLastError(0);
    EXPECT_FALSE(SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &unsized));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, nullptr));
    EXPECT_EQ(placeOf(m_main), "0 0 240 320");
    DestroyWindow(m_main);
    SetLastError(0);
    EXPECT_FALSE(SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &m_info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(InputPanelShell, WithoutAnInputPanelTheWindowFillsTheWorkArea) {
    RECT work{0, 26, 240, 294};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    m_info.fSipUp = 1;
    EXPECT_TRUE(SHHandleWMSettingChange(m_main, SPI_SETSIPINFO, 0, &m_info));
    EXPECT_EQ(placeOf(m_main), "0 26 240 294");
    EXPECT_EQ(m_info.fSipUp, 0u);
}

TEST_F(InputPanelShell, SipInfoReadsAndSetsThePanel) {
    TestInputPanelHost host(80);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_EQ(info.fdwFlags, static_cast<DWORD>(SIPF_DOCKED | SIPF_ON));
    EXPECT_EQ(rectText(info.rcVisibleDesktop), "0 0 240 240");

    WORD block[2] = {3, 1};
    info.dwImDataSize = sizeof(block);
    info.pvImData = block;
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    ASSERT_EQ(host.imDataBlocks.size(), 1u);
    EXPECT_EQ(host.imDataBlocks[0], (std::vector<BYTE>{3, 0, 1, 0}));

    SetLastError(0);
    EXPECT_FALSE(SHSipInfo(SPI_GETWORKAREA, 0, &info, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    info.cbSize = 12;
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, nullptr, 0));
}

}  // namespace
