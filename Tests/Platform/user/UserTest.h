// Shared by the window manager's tests: a fixture on a fresh device with a virtual clock, a
// window procedure that records every message it sees, and a message pump.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "DeviceTest.h"
#include "device/Clock.h"
#include "device/Scheduler.h"
#include "winbase.h"
#include "winuser.h"

namespace usertest {

struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};

// Every message that recordingProc saw, from every thread.
class Recorder {
public:
    void add(const Seen& s) {
        std::lock_guard lock(mutex_);
        seen_.push_back(s);
    }
    std::vector<Seen> all() {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        seen_.clear();
    }
    // The messages among `interesting` that `hwnd` saw (any window for nullptr), in order.
    std::vector<UINT> of(HWND hwnd, const std::vector<UINT>& interesting) {
        std::vector<UINT> out;
        for (const Seen& s : all()) {
            if ((hwnd && s.hwnd != hwnd) ||
                std::find(interesting.begin(), interesting.end(), s.msg) == interesting.end()) {
                continue;
            }
            out.push_back(s.msg);
        }
        return out;
    }
    std::vector<Seen> with(UINT msg) {
        std::vector<Seen> out;
        for (const Seen& s : all()) {
            if (s.msg == msg)
                out.push_back(s);
        }
        return out;
    }

private:
    std::mutex mutex_;
    std::vector<Seen> seen_;
};

Recorder& recorder();

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers a class of recordingProc for the null instance (the device has none until then).
void registerRecordingClass(LPCWSTR name, UINT style = 0, HBRUSH background = nullptr);

// Creates a window of the recording class "Rec".
HWND makeWindow(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD exStyle = 0,
                int id = 0);

// Gets and dispatches messages until the queue is empty.
void pump();

// The messages the calling thread would get now, removed, without dispatching them.
std::vector<MSG> drain();

// A second device thread: counted among the device's threads while it runs its function.
class Worker {
public:
    explicit Worker(std::function<void()> body)
        : thread_([body = std::move(body)] {
              device::enrolCurrentThread();
              body();
              device::leaveCurrentThread();
          }) {}
    ~Worker() {
        if (thread_.joinable())
            thread_.join();
    }
    void join() { thread_.join(); }

private:
    std::thread thread_;
};

// Waits in real time (the virtual clock stands still) until `done` holds, at most 10 s.
bool eventually(const std::function<bool()>& done);

class UserTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        registerRecordingClass(u"Rec");
        recorder().clear();
    }
};

}  // namespace usertest
