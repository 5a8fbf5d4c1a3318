// The table of local memory blocks. Fixed blocks are known by their address, moveable ones by
// handle values that are never reused within a run; both are looked up before any use.
#include "kernel/LocalMemory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include "winbase.h"

namespace platform {
namespace {

// No block may exceed this: a larger request fails instead of exhausting the device.
constexpr SIZE_T kMaxBlockBytes = SIZE_T{256} * 1024 * 1024;
constexpr UINT kMaxLockCount = 0xFF;

struct Block {
    std::unique_ptr<unsigned char[]> bytes;
    SIZE_T size = 0;
    SIZE_T capacity = 0;
    UINT flags = 0;
    UINT locks = 0;
    BlockOwner owner = BlockOwner::Program;
};

struct Table {
    std::mutex mutex;
    std::unordered_map<uintptr_t, Block> blocks;
    // Moveable handles: odd values, so they never equal a (aligned) fixed block's address.
    uintptr_t nextMoveable = 0x40001;
};

Table& table() {
    static auto* t = new Table;
    return *t;
}

std::unique_ptr<unsigned char[]> allocateBytes(SIZE_T capacity) {
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[capacity]);
}

Block* find(Table& t, HLOCAL h) {
    auto it = t.blocks.find(reinterpret_cast<uintptr_t>(h));
    return it == t.blocks.end() ? nullptr : &it->second;
}

// Runs `work(table, block)` on the block `h` names, with the table locked; a handle that names
// no block gets ERROR_INVALID_HANDLE and `failed`.
template <typename T, typename Work>
T withBlock(HLOCAL h, T failed, Work work) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = find(t, h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failed;
    }
    return work(t, *b);
}

}  // namespace

bool setBlockOwner(HLOCAL block, BlockOwner owner) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = find(t, block);
    if (!b)
        return false;
    b->owner = owner;
    return true;
}

bool isLiveBlock(HLOCAL block) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return find(t, block) != nullptr;
}

bool freeBlock(HLOCAL block) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.blocks.erase(reinterpret_cast<uintptr_t>(block)) != 0;
}

}  // namespace platform

using namespace platform;

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~static_cast<UINT>(LMEM_VALID_FLAGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (bytes > kMaxBlockBytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Block b;
    b.capacity = std::max<SIZE_T>(bytes, 1);
    b.bytes = allocateBytes(b.capacity);
    if (!b.bytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // Fresh blocks are zeroed whatever the flags say: no program sees another's old bytes.
    std::memset(b.bytes.get(), 0, b.capacity);
    b.size = bytes;
    b.flags = flags & (LMEM_MOVEABLE | LMEM_ZEROINIT);
    Table& t = table();
    std::lock_guard lock(t.mutex);
    uintptr_t handle = 0;
    if (flags & LMEM_MOVEABLE) {
        handle = t.nextMoveable;
        t.nextMoveable += 2;
    } else {
        handle = reinterpret_cast<uintptr_t>(b.bytes.get());
    }
    t.blocks.emplace(handle, std::move(b));
    return reinterpret_cast<HLOCAL>(handle);
}

HLOCAL LocalReAlloc(HLOCAL h, SIZE_T bytes, UINT flags) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Block* b = find(t, h);
    if (!b || b->owner != BlockOwner::Program) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (flags & LMEM_MODIFY) {
        // Only the flags change; a fixed block stays fixed, as its handle is its address.
        if (b->flags & LMEM_MOVEABLE)
            b->flags = (b->flags & ~static_cast<UINT>(LMEM_ZEROINIT)) | (flags & LMEM_ZEROINIT);
        return h;
    }
    if (bytes > kMaxBlockBytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bool moveable = (b->flags & LMEM_MOVEABLE) != 0;
    if (bytes <= b->capacity) {
        if (bytes > b->size)
            std::memset(b->bytes.get() + b->size, 0, bytes - b->size);
        b->size = bytes;
        return h;
    }
    // Growing needs new memory: a moveable block must be unlocked; a fixed block may move only
    // when the caller allows it with LMEM_MOVEABLE, and then gets a new handle.
    if ((moveable && b->locks > 0) || (!moveable && !(flags & LMEM_MOVEABLE))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto grown = allocateBytes(bytes);
    if (!grown) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(grown.get(), b->bytes.get(), b->size);
    std::memset(grown.get() + b->size, 0, bytes - b->size);
    b->bytes = std::move(grown);
    b->size = bytes;
    b->capacity = bytes;
    if (moveable)
        return h;
    Block moved = std::move(*b);
    t.blocks.erase(reinterpret_cast<uintptr_t>(h));
    auto handle = reinterpret_cast<uintptr_t>(moved.bytes.get());
    t.blocks.emplace(handle, std::move(moved));
    return reinterpret_cast<HLOCAL>(handle);
}

HLOCAL LocalFree(HLOCAL h) {
    if (!h)
        return nullptr;
    return withBlock(h, h, [h](Table& t, Block& b) -> HLOCAL {
        if (b.owner != BlockOwner::Program) {
            // The system (the clipboard) owns it now: the program's copy of the handle is only
            // a view.
            SetLastError(ERROR_ACCESS_DENIED);
            return h;
        }
        t.blocks.erase(reinterpret_cast<uintptr_t>(h));
        return nullptr;
    });
}

LPVOID LocalLock(HLOCAL h) {
    return withBlock(h, LPVOID{nullptr}, [](Table&, Block& b) -> LPVOID {
        if ((b.flags & LMEM_MOVEABLE) && b.locks < kMaxLockCount)
            b.locks++;
        return b.bytes.get();
    });
}

BOOL LocalUnlock(HLOCAL h) {
    return withBlock(h, BOOL{FALSE}, [](Table&, Block& b) -> BOOL {
        if (!(b.flags & LMEM_MOVEABLE) || b.locks == 0) {
            SetLastError(ERROR_NOT_LOCKED);
            return FALSE;
        }
        b.locks--;
        SetLastError(NO_ERROR);
        return b.locks > 0 ? TRUE : FALSE;
    });
}

SIZE_T LocalSize(HLOCAL h) {
    return withBlock(h, SIZE_T{0}, [](Table&, Block& b) { return b.size; });
}

UINT LocalFlags(HLOCAL h) {
    return withBlock(h, UINT{LMEM_INVALID_HANDLE},
                     [](Table&, Block& b) -> UINT { return b.locks & LMEM_LOCKCOUNT; });
}

HLOCAL LocalHandle(LPCVOID p) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    for (auto& [handle, b] : t.blocks) {
        if (b.bytes.get() == p)
            return reinterpret_cast<HLOCAL>(handle);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    return LocalAlloc(flags & (GMEM_MOVEABLE | GMEM_ZEROINIT), bytes);
}
HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT flags) {
    return LocalReAlloc(h, bytes, flags & (GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_MODIFY));
}
HGLOBAL GlobalFree(HGLOBAL h) {
    return LocalFree(h);
}
LPVOID GlobalLock(HGLOBAL h) {
    return LocalLock(h);
}
BOOL GlobalUnlock(HGLOBAL h) {
    return LocalUnlock(h);
}
SIZE_T GlobalSize(HGLOBAL h) {
    return LocalSize(h);
}
UINT GlobalFlags(HGLOBAL h) {
    return LocalFlags(h);
}
HGLOBAL GlobalHandle(LPCVOID p) {
    return LocalHandle(p);
}
