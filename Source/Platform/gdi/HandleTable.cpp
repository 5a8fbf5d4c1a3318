// The handle table of GDI objects. A handle packs a slot index, the object's kind and the
// slot's generation, so a handle to a deleted object (its slot reused or not) and numbers
// that were never handles are both refused.
#include <winbase.h>

#include <deque>

#include "gdi/GdiLock.h"
#include "gdi/Objects.h"

namespace platform {
namespace {

constexpr uintptr_t kIndexBits = 20;
constexpr uintptr_t kMaxSlots = (uintptr_t{1} << kIndexBits) - 1;
constexpr uintptr_t kKindShift = kIndexBits;
constexpr uintptr_t kGenerationShift = 24;

struct Slot {
    std::unique_ptr<GdiObject> object;
    uint8_t generation = 0;
};

struct HandleTable {
    std::vector<Slot> slots;
    // Freed slots are reused oldest first, so a stale handle's slot stays empty a long time.
    std::deque<size_t> freeSlots;
};

HandleTable& table() {
    // Never destroyed: objects may still be in use by other threads while the program exits.
    static HandleTable* t = new HandleTable;
    return *t;
}

uintptr_t encode(size_t index, ObjectKind kind, uint8_t generation) {
    return (uintptr_t{generation} << kGenerationShift) |
           (static_cast<uintptr_t>(kind) << kKindShift) | (index + 1);
}

Slot* decode(HGDIOBJ handle) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || (value >> 32) != 0) {
        return nullptr;
    }
    size_t index = (value & kMaxSlots);
    if (index == 0) {
        return nullptr;
    }
    index -= 1;
    HandleTable& t = table();
    if (index >= t.slots.size()) {
        return nullptr;
    }
    Slot& slot = t.slots[index];
    if (!slot.object || encode(index, slot.object->kind, slot.generation) != value) {
        return nullptr;
    }
    return &slot;
}

}  // namespace

std::recursive_mutex& gdiMutex() {
    static std::recursive_mutex* m = new std::recursive_mutex;
    return *m;
}

HGDIOBJ addObject(std::unique_ptr<GdiObject> object) {
    GdiLock lock;
    HandleTable& t = table();
    size_t index;
    if (!t.freeSlots.empty()) {
        index = t.freeSlots.front();
        t.freeSlots.pop_front();
    } else if (t.slots.size() < kMaxSlots - 1) {
        index = t.slots.size();
        t.slots.emplace_back();
    } else {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Slot& slot = t.slots[index];
    ObjectKind kind = object->kind;
    slot.object = std::move(object);
    return reinterpret_cast<HGDIOBJ>(encode(index, kind, slot.generation));
}

GdiObject* findObject(HGDIOBJ handle) {
    GdiLock lock;
    Slot* slot = decode(handle);
    return slot != nullptr ? slot->object.get() : nullptr;
}

std::unique_ptr<GdiObject> removeObject(HGDIOBJ handle) {
    GdiLock lock;
    Slot* slot = decode(handle);
    if (slot == nullptr) {
        return nullptr;
    }
    std::unique_ptr<GdiObject> object = std::move(slot->object);
    slot->generation = static_cast<uint8_t>(slot->generation + 1);
    table().freeSlots.push_back(static_cast<size_t>(slot - table().slots.data()));
    return object;
}

}  // namespace platform
