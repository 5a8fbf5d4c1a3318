// The device-wide handle table.
#include "kernel/KernelObject.h"

#include <mutex>
#include <unordered_map>

namespace platform {

namespace {

struct HandleTable {
    std::mutex mutex;
    uintptr_t next = 0x1000;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
};

HandleTable& handleTable() {
    static HandleTable* table = new HandleTable;  // handles may be closed during exit
    return *table;
}

}  // namespace

HANDLE addHandle(std::shared_ptr<KernelObject> object) {
    auto& table = handleTable();
    std::lock_guard lock(table.mutex);
    uintptr_t value = table.next;
    table.next += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> objectOf(HANDLE handle) {
    auto& table = handleTable();
    std::lock_guard lock(table.mutex);
    auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

bool removeHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> released;  // destroyed after the table's lock is dropped
    auto& table = handleTable();
    std::lock_guard lock(table.mutex);
    auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.objects.end())
        return false;
    released = std::move(found->second);
    table.objects.erase(found);
    return true;
}

}  // namespace platform
