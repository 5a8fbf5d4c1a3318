// Timers: window timers keyed by (window, id) and thread timers with generated ids, each due
// on the device clock. Periods are clamped to USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM, so a
// period of 0 fires every 10 ms instead of spinning. Setting an existing timer re-arms it.
#include <algorithm>

#include "device/Clock.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {

void removeWindowTimers(ThreadQueue& q, HWND hwnd) {
    auto& t = q.timers;
    t.erase(std::remove_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd; }),
            t.end());
}

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc) {
    Lock lock = lockState();
    UserState& s = state();
    if (hwnd) {
        Window* w = findWindowOrFail(hwnd);
        if (!w)
            return 0;
        if (w->thread != currentThread()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    period = std::clamp<UINT>(period, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    ThreadQueue& q = currentQueue();
    Timer* existing = nullptr;
    for (Timer& t : q.timers) {
        if (t.hwnd == hwnd && t.id == id)
            existing = &t;
    }
    if (!existing) {
        Timer t;
        t.hwnd = hwnd;
        if (hwnd) {
            t.id = id;
        } else {
            // A thread timer's id is chosen here; the given one only names a timer to re-arm.
            do {
                t.id = s.nextThreadTimerId++;
                if (s.nextThreadTimerId == 0)
                    s.nextThreadTimerId = 0x7E00;
            } while (std::any_of(q.timers.begin(), q.timers.end(),
                                 [&](const Timer& x) { return !x.hwnd && x.id == t.id; }));
        }
        t.order = s.nextTimerOrder++;
        q.timers.push_back(t);
        existing = &q.timers.back();
    }
    existing->period = period;
    existing->proc = proc;
    existing->due = now() + period;
    device::notifyWaiters();
    if (hwnd)
        return id != 0 ? id : 1;
    return existing->id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    Lock lock = lockState();
    ThreadQueue& q = currentQueue();
    auto it = std::find_if(q.timers.begin(), q.timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == q.timers.end()) {
        SetLastError(hwnd && !findWindow(hwnd) ? ERROR_INVALID_WINDOW_HANDLE
                                               : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    q.timers.erase(it);
    return TRUE;
}
