// FindResourceW and friends, and LoadStringW: resources are read in place in their module's
// table, so a resource handle is its table entry and its data handle the bytes themselves.
#include <winbase.h>
#include <winresource.h>

#include <algorithm>
#include <cstring>

#include "resources/ResourceTables.h"

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const device::ResourceTable* table = platform::resourceTableOf(module);
    if (table == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    platform::LookupFailure failure = platform::LookupFailure::None;
    const device::ResourceEntry* entry = platform::findResourceEntry(table, name, type, &failure);
    if (entry == nullptr) {
        SetLastError(failure == platform::LookupFailure::NameNotFound
                         ? ERROR_RESOURCE_NAME_NOT_FOUND
                         : ERROR_RESOURCE_TYPE_NOT_FOUND);
    }
    return reinterpret_cast<HRSRC>(const_cast<device::ResourceEntry*>(entry));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr)
        return nullptr;
    auto* entry = reinterpret_cast<const device::ResourceEntry*>(resource);
    return const_cast<void*>(entry->data);
}

LPVOID LockResource(HGLOBAL resourceData) {
    return resourceData;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (resource == nullptr)
        return 0;
    return reinterpret_cast<const device::ResourceEntry*>(resource)->size;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax < 0)
        return 0;
    const WORD block = static_cast<WORD>((id >> 4) + 1);
    const device::ResourceEntry* entry =
        id > 0xFFFF ? nullptr : platform::findResourceById(instance, block, 6 /* RT_STRING */);
    if (entry == nullptr) {
        if (bufferMax > 0)
            buffer[0] = 0;
        return 0;
    }
    // Walk to string (id % 16) of the block, every length checked against the block's size.
    const size_t units = entry->size / 2;
    const char16_t* data = reinterpret_cast<const char16_t*>(entry->data);
    size_t at = 0;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (at >= units)
            break;
        at += 1 + data[at];
    }
    if (at >= units || data[at] == 0 || data[at] > units - at - 1) {
        if (bufferMax > 0)
            buffer[0] = 0;
        return 0;
    }
    const int length = data[at];
    const char16_t* text = data + at + 1;
    if (bufferMax == 0) {
        *reinterpret_cast<const char16_t**>(buffer) = text;
        return length;
    }
    const int copied = std::min(length, bufferMax - 1);
    std::memcpy(buffer, text, sizeof(char16_t) * copied);
    buffer[copied] = 0;
    return copied;
}
