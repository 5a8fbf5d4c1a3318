// The device clock. Real mode counts milliseconds of the host's steady clock since the device
// started; virtual mode holds a number that only advances when told to (see Scheduler.cpp).
#include <device/Clock.h>

#include <chrono>

#include "kernel/DeviceReset.h"
#include "kernel/SchedulerState.h"

namespace device {

using platform::schedulerState;

namespace {

// A fresh device runs on the real clock, from zero.
const bool resetRegistered =
    platform::addResetStep(platform::ResetStage::Device, [] { useRealClock(); });

}  // namespace

uint64_t nowMs() {
    return schedulerState().now();
}

void useVirtualClock(uint64_t startMs) {
    auto& state = schedulerState();
    {
        std::lock_guard lock(state.mutex);
        state.virtualClock = true;
        state.virtualNow = startMs;
    }
    state.changed.notify_all();
}

void useRealClock() {
    auto& state = schedulerState();
    {
        std::lock_guard lock(state.mutex);
        state.virtualClock = false;
        state.realStart = std::chrono::steady_clock::now();
    }
    state.changed.notify_all();
}

bool isVirtualClock() {
    return schedulerState().virtualClock;
}

}  // namespace device
