// Handles, waits and events. A wait with a timeout may move the virtual clock once the whole
// device is idle, so a test never deadlocks on a process that does not end.
#include <device/Clock.h>
#include <device/Scheduler.h>
#include <winbase.h>

#include "kernel/KernelObject.h"

namespace platform {

namespace {

class Event : public KernelObject {
public:
    Event(bool manualReset, bool signalled) : m_manualReset(manualReset), m_signalled(signalled) {}
    bool isSignalled() const override { return m_signalled; }
    void onWaitSatisfied() override {
        if (!m_manualReset)
            m_signalled = false;
    }
    void set(bool signalled) { m_signalled = signalled; }

private:
    bool m_manualReset;
    bool m_signalled;
};

bool setEventState(HANDLE handle, bool signalled) {
    auto event = objectAs<Event>(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    {
        std::lock_guard lock(device::deviceMutex());
        event->set(signalled);
    }
    device::notifyWaiters();
    return true;
}

}  // namespace

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    if (!platform::removeHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto object = platform::objectOf(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::unique_lock lock(device::deviceMutex());
    const uint64_t start = device::nowMs();
    const uint64_t due = milliseconds == INFINITE ? device::kNoDeadline : start + milliseconds;
    std::function<bool()> ready = [&] { return object->isSignalled(); };
    std::function<uint64_t()> deadline = [due] { return due; };
    if (!device::waitUntil(lock, ready, deadline, device::WaitKind::AdvancesClock)) {
        return WAIT_TIMEOUT;
    }
    object->onWaitSatisfied();
    return WAIT_OBJECT_0;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR) {
    return platform::addHandle(std::make_shared<platform::Event>(manualReset, initialState));
}

BOOL SetEvent(HANDLE event) {
    return platform::setEventState(event, true);
}

BOOL ResetEvent(HANDLE event) {
    return platform::setEventState(event, false);
}
