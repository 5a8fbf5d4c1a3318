// Kernel objects behind HANDLEs (processes, threads, events, open files, file searches) and the
// device-wide handle table that validates every handle a caller passes.
#pragma once

#include <memory>

#include <windef.h>

namespace platform {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Read with the device mutex held (see device/Scheduler.h).
    virtual bool isSignalled() const { return false; }
    // Called with the device mutex held when a wait on this object is satisfied.
    virtual void onWaitSatisfied() {}
};

// Handle values are never reused within a run, so a stale handle can never reach a new object.
HANDLE addHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> objectOf(HANDLE handle);
bool removeHandle(HANDLE handle);

template <typename T>
std::shared_ptr<T> objectAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(objectOf(handle));
}

}  // namespace platform
