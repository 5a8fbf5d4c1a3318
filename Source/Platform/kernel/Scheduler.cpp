// Blocking waits of device threads, and the virtual clock's rule for moving time: time moves
// only when the test says so, when a thread sleeps, or when every device thread waits and one
// of them waits with a timeout — then it jumps to the earliest deadline, as if the device had
// been idle until then.
#include <device/Clock.h>
#include <device/Scheduler.h>

#include <algorithm>
#include <thread>

#include "kernel/SchedulerState.h"

namespace platform {

namespace {

// How long advanceClock waits in real time for the other threads to settle after each step.
constexpr auto kSettleLimit = std::chrono::seconds(10);

struct ThreadEnrolment {
    bool enrolled = false;
    ~ThreadEnrolment() {
        if (enrolled)
            device::leaveCurrentThread();
    }
};

thread_local ThreadEnrolment t_enrolment;

}  // namespace

SchedulerState& schedulerState() {
    static SchedulerState* state = new SchedulerState;  // outlives every thread's exit
    return *state;
}

uint64_t SchedulerState::now() const {
    if (virtualClock)
        return virtualNow;
    auto elapsed = std::chrono::steady_clock::now() - realStart.load();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::chrono::steady_clock::time_point SchedulerState::realTimeOf(uint64_t deviceMs) const {
    // Far deadlines are capped so that the time point arithmetic cannot overflow.
    constexpr uint64_t kFarMs = 1000ull * 60 * 60 * 24 * 365;
    return realStart.load() + std::chrono::milliseconds(std::min(deviceMs, kFarMs));
}

uint64_t SchedulerState::nextDeadlineLocked() const {
    uint64_t next = device::kNoDeadline;
    for (const auto& wait : waits)
        next = std::min(next, (*wait.deadline)());
    return next;
}

bool SchedulerState::anyWaitReadyLocked() const {
    return std::any_of(waits.begin(), waits.end(),
                       [](const ActiveWait& wait) { return (*wait.ready)(); });
}

bool SchedulerState::advanceIfAllIdleLocked() {
    if (!virtualClock || static_cast<int>(waits.size()) < enrolledThreads)
        return false;
    uint64_t advancing = device::kNoDeadline;
    for (const auto& wait : waits) {
        if (wait.kind == device::WaitKind::AdvancesClock) {
            advancing = std::min(advancing, (*wait.deadline)());
        }
    }
    if (advancing == device::kNoDeadline || anyWaitReadyLocked())
        return false;
    uint64_t target = std::min(advancing, nextDeadlineLocked());
    if (target <= virtualNow)
        return false;
    virtualNow = target;
    return true;
}

void reserveEnrolmentForNewThread() {
    auto& state = schedulerState();
    std::lock_guard lock(state.mutex);
    ++state.enrolledThreads;
}

void adoptReservedEnrolment() {
    t_enrolment.enrolled = true;
}

void jumpClock(uint64_t ms) {
    auto& state = schedulerState();
    {
        std::lock_guard lock(state.mutex);
        if (!state.virtualClock)
            return;
        state.virtualNow = state.virtualNow + ms;
    }
    state.changed.notify_all();
}

}  // namespace platform

namespace device {

using platform::schedulerState;

std::mutex& deviceMutex() {
    return schedulerState().mutex;
}

void notifyWaiters() {
    schedulerState().changed.notify_all();
}

void enrolCurrentThread() {
    if (platform::t_enrolment.enrolled)
        return;
    auto& state = schedulerState();
    std::lock_guard lock(state.mutex);
    platform::t_enrolment.enrolled = true;
    ++state.enrolledThreads;
}

void leaveCurrentThread() {
    if (!platform::t_enrolment.enrolled)
        return;
    auto& state = schedulerState();
    {
        std::lock_guard lock(state.mutex);
        platform::t_enrolment.enrolled = false;
        --state.enrolledThreads;
        state.advanceIfAllIdleLocked();
    }
    state.changed.notify_all();
}

bool waitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
               const std::function<uint64_t()>& deadline, WaitKind kind) {
    auto& state = schedulerState();
    if (!platform::t_enrolment.enrolled) {
        platform::t_enrolment.enrolled = true;
        ++state.enrolledThreads;
    }
    auto self = state.waits.insert(state.waits.end(), {&ready, &deadline, kind});
    // Whoever waits for the device to settle (advanceClock, an idle check) looks again.
    state.changed.notify_all();
    bool result = false;
    while (true) {
        if (ready()) {
            result = true;
            break;
        }
        uint64_t due = deadline();
        if (state.now() >= due)
            break;
        if (state.virtualClock) {
            if (state.advanceIfAllIdleLocked()) {
                state.changed.notify_all();
                continue;
            }
            state.changed.wait(lock);
        } else if (due == kNoDeadline) {
            state.changed.wait(lock);
        } else {
            state.changed.wait_until(lock, state.realTimeOf(due));
        }
    }
    state.waits.erase(self);
    return result;
}

void advanceClock(uint64_t ms) {
    auto& state = schedulerState();
    std::unique_lock lock(state.mutex);
    if (!state.virtualClock) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    if (!platform::t_enrolment.enrolled) {
        platform::t_enrolment.enrolled = true;
        ++state.enrolledThreads;
    }
    const uint64_t target = state.virtualNow.load() + ms;
    // Step from deadline to deadline so that other threads see each of their timers and
    // timeouts at its own time, and let them settle (all waiting again) after each step.
    while (true) {
        uint64_t next = state.nextDeadlineLocked();
        bool stepped = next > state.virtualNow && next < target;
        state.virtualNow = stepped ? next : target;
        state.changed.notify_all();
        auto othersSettled = [&] {
            return static_cast<int>(state.waits.size()) >= state.enrolledThreads - 1 &&
                   !state.anyWaitReadyLocked() && state.nextDeadlineLocked() > state.virtualNow;
        };
        state.changed.wait_until(lock, std::chrono::steady_clock::now() + platform::kSettleLimit,
                                 othersSettled);
        if (!stepped)
            break;
    }
}

bool waitForOtherThreadsIdle(unsigned realTimeoutMs) {
    auto& state = schedulerState();
    std::unique_lock lock(state.mutex);
    auto othersIdle = [&] {
        const int others = state.enrolledThreads - (platform::t_enrolment.enrolled ? 1 : 0);
        return static_cast<int>(state.waits.size()) >= others && !state.anyWaitReadyLocked() &&
               state.nextDeadlineLocked() > state.now();
    };
    return state.changed.wait_until(
        lock, std::chrono::steady_clock::now() + std::chrono::milliseconds(realTimeoutMs),
        othersIdle);
}

}  // namespace device
