// Driving a program's modal loop (a dialog, a property sheet) from a test: the loop runs on a
// device thread of its own while the test thread injects the stylus and keys and reads the
// windows, letting the device settle after each step.
#pragma once

#include <device/Input.h>
#include <device/Scheduler.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

// Runs `body` on a device thread. A test that ends (or fails) while the body still runs a
// loop stops it with a quit message before joining.
class DeviceThread {
public:
    explicit DeviceThread(std::function<void()> body)
        : m_thread([this, body = std::move(body)] {
              device::enrolCurrentThread();
              m_id = GetCurrentThreadId();
              body();
              device::leaveCurrentThread();
          }) {
        // Once counted among the device's threads, the device settles only when it waits.
        id();
    }
    ~DeviceThread() {
        if (!m_thread.joinable())
            return;
        PostThreadMessageW(id(), WM_QUIT, 0, 0);
        m_thread.join();
    }
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;

    // Waits for the body to return.
    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    DWORD id() const {
        while (m_id == 0)
            std::this_thread::yield();
        return m_id;
    }

private:
    std::atomic<DWORD> m_id{0};
    std::thread m_thread;
};

// Lets every other device thread handle what it has been sent or posted; false after 10 s of
// real time.
inline bool settleDevice() {
    return device::waitForOtherThreadsIdle(10000);
}

// The stylus down and up at a screen point, then the device settles.
inline void tapScreen(int x, int y) {
    device::stylusDown(x, y);
    device::stylusUp(x, y);
    settleDevice();
}

// A tap at a point of a window's client area.
inline void tapWindow(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    tapScreen(p.x, p.y);
}

// A tap in the middle of a window.
inline void tapCentre(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    tapWindow(window, r.right / 2, r.bottom / 2);
}

// A key pressed and released (for the focused window of the foreground program).
inline void pressKey(UINT vk) {
    device::keyDown(vk);
    device::keyUp(vk);
    settleDevice();
}
