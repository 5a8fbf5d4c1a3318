// The device clock: one source of time for GetTickCount, Sleep, waits and timers. Real time in
// the emulator; a virtual clock in tests, which the test advances, so timing is exact.
#pragma once

#include <cstdint>

namespace device {

// Milliseconds since the device started, 64 bits wide (GetTickCount returns the low 32 bits).
uint64_t nowMs();

// Switches to a virtual clock standing at `startMs`. Nothing advances it but advanceClock,
// Sleep, and waits that time out while every device thread is idle.
void useVirtualClock(uint64_t startMs = 0);
void useRealClock();
bool isVirtualClock();

// Virtual clock only: moves time forward by `ms` and wakes every wait whose deadline passed.
// With the real clock this sleeps for `ms`.
void advanceClock(uint64_t ms);

}  // namespace device

struct _SYSTEMTIME;

namespace device {

// Sets the device's local date and time; from then on GetLocalTime runs on from it with the
// device clock (and GetSystemTime reports the same, the device having no time zone).
void setDeviceLocalTime(const _SYSTEMTIME& time);

}  // namespace device
