// The state behind the device clock and the scheduler: one mutex and condition variable for
// every blocking wait of the device, the clock, and the waits in progress.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>

#include <device/Scheduler.h>

namespace platform {

struct ActiveWait {
    const std::function<bool()>* ready;
    const std::function<uint64_t()>* deadline;
    device::WaitKind kind;
};

struct SchedulerState {
    std::mutex mutex;
    std::condition_variable changed;

    // Written with the mutex held; read without it, so that the clock can be read anywhere,
    // including inside a wait's own ready and deadline functions.
    std::atomic<bool> virtualClock{false};
    std::atomic<uint64_t> virtualNow{0};
    std::atomic<std::chrono::steady_clock::time_point> realStart{std::chrono::steady_clock::now()};

    int enrolledThreads = 0;
    std::list<ActiveWait> waits;

    uint64_t now() const;
    std::chrono::steady_clock::time_point realTimeOf(uint64_t deviceMs) const;

    // Virtual clock: when every enrolled thread waits, nobody is ready and some wait may move
    // time, jumps to the earliest deadline of all waits. Returns true if time moved.
    bool advanceIfAllIdleLocked();
    // Earliest deadline after `now` among the waits, or kNoDeadline.
    uint64_t nextDeadlineLocked() const;
    bool anyWaitReadyLocked() const;
};

SchedulerState& schedulerState();

}  // namespace platform

namespace platform {

// CreateProcessW counts the new thread as busy before it starts, so that a wait the creator
// begins at once cannot take the device for idle; the new thread adopts that count.
void reserveEnrolmentForNewThread();
void adoptReservedEnrolment();

// Virtual clock: moves time on at once, without waiting for other threads to see the
// deadlines on the way (Sleep; a sleeping thread must not wait for busy ones).
void jumpClock(uint64_t ms);

}  // namespace platform
