// The shell's tap-and-hold recogniser: a stylus held still for the hold time is a context-menu
// gesture; one that comes up or moves away first is none, and its messages stay for the window.
#include <aygshell.h>
#include <device/Clock.h>
#include <device/Input.h>
#include <windows.h>

#include "DeviceTest.h"

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Gesture : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = plainProc;
        wc.lpszClassName = u"GestureTarget";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"GestureTarget", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        drain();
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassW(u"GestureTarget", nullptr);
        DeviceTest::TearDown();
    }

    // Takes the stylus down at (x, y) as the window sees it, then asks the recogniser.
    DWORD holdAt(int x, int y) {
        device::stylusDown(x, y);
        MSG down{};
        EXPECT_TRUE(PeekMessageW(&down, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        SHRGINFO info{};
        info.cbSize = sizeof(info);
        info.hwndClient = window;
        info.ptDown = POINT{x, y};
        info.dwFlags = SHRG_RETURNCMD;
        return SHRecognizeGesture(&info);
    }
    // The stylus messages still queued for the window.
    std::vector<UINT> queued() {
        std::vector<UINT> out;
        MSG m{};
        while (PeekMessageW(&m, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
            out.push_back(m.message);
        return out;
    }
    void drain() {
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
    }

    HWND window = nullptr;
};

}  // namespace

TEST_F(Gesture, AStylusHeldStillForTheHoldTimeIsAContextMenu) {
    const uint64_t start = device::nowMs();
    EXPECT_EQ(holdAt(50, 60), static_cast<DWORD>(GN_CONTEXTMENU));
    EXPECT_GE(device::nowMs() - start, 500u);
    EXPECT_LT(device::nowMs() - start, 600u);
    EXPECT_EQ(GetCapture(), nullptr);
    device::stylusUp(50, 60);
    drain();
}

TEST_F(Gesture, SmallMovesAreTakenAndTheHoldStillCounts) {
    device::stylusDown(50, 60);
    device::stylusMove(52, 57);
    device::stylusMove(48, 62);
    MSG down{};
    ASSERT_TRUE(PeekMessageW(&down, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    SHRGINFO info{sizeof(SHRGINFO), window, POINT{50, 60}, SHRG_RETURNCMD};
    EXPECT_EQ(SHRecognizeGesture(&info), static_cast<DWORD>(GN_CONTEXTMENU));
    EXPECT_TRUE(queued().empty());
    device::stylusUp(50, 60);
    drain();
}

TEST_F(Gesture, AStylusThatComesUpOrMovesAwayIsNoGestureAndItsMessagesStay) {
    device::stylusDown(50, 60);
    device::stylusUp(50, 60);
    MSG down{};
    ASSERT_TRUE(PeekMessageW(&down, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    SHRGINFO info{sizeof(SHRGINFO), window, POINT{50, 60}, SHRG_RETURNCMD};
    const uint64_t start = device::nowMs();
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    EXPECT_EQ(device::nowMs(), start);
    EXPECT_EQ(queued(), (std::vector<UINT>{WM_LBUTTONUP}));

    device::stylusDown(50, 60);
    device::stylusMove(70, 60);
    ASSERT_TRUE(PeekMessageW(&down, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    EXPECT_EQ(queued(), (std::vector<UINT>{WM_MOUSEMOVE}));
    device::stylusUp(70, 60);
    drain();
    // A down that did not come from the stylus (sent by a program) is never held.
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    // A request of the wrong size is refused.
    info.cbSize = 20;
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
