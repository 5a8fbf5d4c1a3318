// How device threads block. Every blocking call of the platform (Sleep, WaitForSingleObject,
// GetMessage, a cross-thread SendMessage) waits through waitUntil, so that the device knows
// which of its threads are idle: under the virtual clock, once every device thread is waiting,
// time jumps to the earliest deadline that a clock-advancing wait allows.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

namespace device {

inline constexpr uint64_t kNoDeadline = UINT64_MAX;

// One lock guards the state that waits test (queues, signalled objects). Take it to change
// such state, then call notifyWaiters so that waiting threads look again.
std::mutex& deviceMutex();
void notifyWaiters();

enum class WaitKind {
    // The wait may move the virtual clock forward to its deadline once every device thread is
    // idle (a timed WaitForSingleObject).
    AdvancesClock,
    // The wait only follows the clock (GetMessage waiting for a timer): while some thread is
    // in an AdvancesClock wait it lets time jump to its own deadline, but never moves time alone.
    FollowsClock,
};

// Blocks the calling device thread, with `lock` (on deviceMutex) held, until ready() is true
// or the device clock reaches deadline() (both re-read after every wake). Returns ready().
// The calling thread counts as idle while it waits.
bool waitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               const std::function<uint64_t()>& deadline, WaitKind kind);

// Counts the calling thread among the device's threads (busy unless in waitUntil). Threads are
// enrolled on their first wait and by CreateProcessW; the thread that runs a test or the
// emulator's main loop enrols itself this way so that it counts as busy while it runs.
void enrolCurrentThread();
void leaveCurrentThread();

// Blocks the calling thread until every other device thread waits with nothing ready to wake
// it and no deadline reached (each has handled what was queued for it), or until
// `realTimeoutMs` of real time pass (false then). The caller does not count as waiting, so an
// enrolled caller keeps the virtual clock where it is.
bool waitForOtherThreadsIdle(unsigned realTimeoutMs);

}  // namespace device
