// Clock calls of the device: tick count, sleeping, wall-clock time and interlocked arithmetic.
// Wall-clock time is a base time plus the device clock's progress, so that a virtual clock
// moves the date and time of day too.
#include <device/Clock.h>
#include <winbase.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

#include "kernel/DeviceReset.h"
#include "kernel/SchedulerState.h"

namespace platform {

namespace {

struct WallClock {
    std::mutex mutex;
    bool set = false;
    int64_t baseUnixMs = 0;  // wall-clock time at baseDeviceMs
    uint64_t baseDeviceMs = 0;
    bool baseIsLocal = false;  // set by setDeviceLocalTime: no time zone applies
};

WallClock& wallClock() {
    static WallClock clock;
    return clock;
}

// A fresh device has no date set: it takes the host's at its first question.
const bool resetRegistered = addResetStep(ResetStage::Device, [] {
    auto& clock = wallClock();
    std::lock_guard lock(clock.mutex);
    clock.set = false;
    clock.baseIsLocal = false;
});

int64_t hostUnixMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void toSystemTime(int64_t unixMs, SYSTEMTIME* out) {
    int64_t days = unixMs >= 0 ? unixMs / 86400000 : -((-unixMs + 86399999) / 86400000);
    int64_t msOfDay = unixMs - days * 86400000;
    // Civil date from days since 1970-01-01.
    int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2);
    out->wYear = static_cast<WORD>(year);
    out->wMonth = static_cast<WORD>(month);
    out->wDay = static_cast<WORD>(day);
    out->wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    out->wHour = static_cast<WORD>(msOfDay / 3600000);
    out->wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
    out->wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    out->wMilliseconds = static_cast<WORD>(msOfDay % 1000);
}

// Current wall-clock milliseconds since 1970; `isLocal` tells whether they are local already.
int64_t currentWallMs(bool& isLocal) {
    auto& clock = wallClock();
    std::lock_guard lock(clock.mutex);
    uint64_t now = device::nowMs();
    if (!clock.set) {
        clock.set = true;
        clock.baseUnixMs = hostUnixMs();
        clock.baseDeviceMs = now;
    }
    isLocal = clock.baseIsLocal;
    return clock.baseUnixMs + static_cast<int64_t>(now - clock.baseDeviceMs);
}

int64_t hostZoneOffsetMs(int64_t unixMs) {
    std::time_t seconds = static_cast<std::time_t>(unixMs / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return static_cast<int64_t>(local.tm_gmtoff) * 1000;
}

}  // namespace

}  // namespace platform

namespace device {

void setDeviceLocalTime(const SYSTEMTIME& time) {
    auto& clock = platform::wallClock();
    std::lock_guard lock(clock.mutex);
    clock.set = true;
    clock.baseIsLocal = true;
    clock.baseUnixMs = platform::daysFromCivil(time.wYear, time.wMonth, time.wDay) * 86400000 +
                       time.wHour * 3600000LL + time.wMinute * 60000LL + time.wSecond * 1000LL +
                       time.wMilliseconds;
    clock.baseDeviceMs = nowMs();
}

}  // namespace device

DWORD GetTickCount() {
    return static_cast<DWORD>(device::nowMs());
}

void Sleep(DWORD milliseconds) {
    if (device::isVirtualClock()) {
        platform::jumpClock(milliseconds);
    } else if (milliseconds == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

void GetLocalTime(LPSYSTEMTIME time) {
    if (time == nullptr)
        return;
    bool isLocal = false;
    int64_t ms = platform::currentWallMs(isLocal);
    if (!isLocal)
        ms += platform::hostZoneOffsetMs(ms);
    platform::toSystemTime(ms, time);
}

void GetSystemTime(LPSYSTEMTIME time) {
    if (time == nullptr)
        return;
    bool isLocal = false;
    int64_t ms = platform::currentWallMs(isLocal);
    // A device whose local time was set by hand has no time zone: it runs on local time.
    platform::toSystemTime(ms, time);
}

LONG InterlockedIncrement(LONG volatile* value) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(value)).fetch_add(1) + 1;
}

LONG InterlockedDecrement(LONG volatile* value) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(value)).fetch_sub(1) - 1;
}

LONG InterlockedExchange(LONG volatile* target, LONG value) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(target)).exchange(value);
}

LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand) {
    std::atomic_ref<LONG>(*const_cast<LONG*>(target)).compare_exchange_strong(comparand, exchange);
    return comparand;
}
