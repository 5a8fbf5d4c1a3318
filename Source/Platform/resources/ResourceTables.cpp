// Module resource tables: found in a loaded module with dlsym, tied to instance handles, and
// searched by type and name the way Windows compares them (numbers exactly, strings without
// regard to ASCII case, "#123" as the number 123).
#include "resources/ResourceTables.h"

#include <dlfcn.h>
#include <link.h>
#include <winbase.h>

#include <mutex>
#include <optional>
#include <unordered_map>

#include "kernel/DeviceReset.h"
#include "kernel/Module.h"

namespace platform {

namespace {

std::mutex& tablesMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_map<HINSTANCE, const device::ResourceTable*>& tables() {
    static std::unordered_map<HINSTANCE, const device::ResourceTable*> map;
    return map;
}

// A fresh device has no resource tables tied to instance handles.
const bool resetRegistered = addResetStep(ResetStage::Device, [] {
    std::lock_guard lock(tablesMutex());
    tables().clear();
});

bool tableIsReadable(const device::ResourceTable* table) {
    return table != nullptr && table->magic == device::kResourceTableMagic &&
           table->version == device::kResourceTableVersion &&
           (table->count == 0 || table->entries != nullptr);
}

char16_t upper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

bool sameName(const char16_t* a, const char16_t* b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (upper(*a) != upper(*b))
            return false;
    }
    return *a == *b;
}

// A name or type as asked for: a number, or a string.
struct Key {
    std::optional<WORD> number;
    const char16_t* text = nullptr;
};

Key keyOf(LPCWSTR value) {
    Key key;
    if (IS_INTRESOURCE(value)) {
        key.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(value));
        return key;
    }
    if (value[0] == u'#') {
        uint32_t number = 0;
        const char16_t* p = value + 1;
        for (; *p >= u'0' && *p <= u'9' && number <= 0xFFFF; ++p)
            number = number * 10 + (*p - u'0');
        if (*p == 0 && p != value + 1 && number <= 0xFFFF) {
            key.number = static_cast<WORD>(number);
            return key;
        }
    }
    key.text = value;
    return key;
}

bool matches(const Key& key, const char16_t* entryText, WORD entryNumber) {
    if (key.number)
        return entryText == nullptr && entryNumber == *key.number;
    return entryText != nullptr && sameName(entryText, key.text);
}

}  // namespace

}  // namespace platform

namespace device {

void registerModuleResources(HINSTANCE instance, const ResourceTable* table) {
    std::lock_guard lock(platform::tablesMutex());
    if (table == nullptr) {
        platform::tables().erase(instance);
    } else {
        platform::tables()[instance] = table;
    }
}

}  // namespace device

namespace platform {

const device::ResourceTable* findResourceTable(void* dlHandle) {
    if (dlHandle == nullptr)
        return nullptr;
    void* symbol = dlsym(dlHandle, "KelvoResourceTable");
    if (symbol == nullptr)
        return nullptr;
    // dlsym also searches the module's dependencies (and, for a program, everything loaded
    // globally): only a table inside the module itself is its own.
    link_map* moduleMap = nullptr;
    link_map* symbolMap = nullptr;
    Dl_info info{};
    if (dlinfo(dlHandle, RTLD_DI_LINKMAP, &moduleMap) != 0 ||
        dladdr1(symbol, &info, reinterpret_cast<void**>(&symbolMap), RTLD_DL_LINKMAP) == 0 ||
        moduleMap != symbolMap) {
        return nullptr;
    }
    using TableFunction = const device::ResourceTable* (*)();
    const device::ResourceTable* table = reinterpret_cast<TableFunction>(symbol)();
    return tableIsReadable(table) ? table : nullptr;
}

const device::ResourceTable* resourceTableOf(HINSTANCE instance) {
    {
        std::lock_guard lock(tablesMutex());
        auto found = tables().find(instance);
        if (found != tables().end())
            return found->second;
    }
    // A null instance is the calling process's program.
    HMODULE module = instance != nullptr ? instance : GetModuleHandleW(nullptr);
    return findResourceTable(moduleDlHandle(module));
}

const device::ResourceEntry* findResourceEntry(const device::ResourceTable* table, LPCWSTR name,
                                               LPCWSTR type, LookupFailure* failure) {
    if (failure != nullptr)
        *failure = LookupFailure::TypeNotFound;
    if (!tableIsReadable(table) || name == nullptr || type == nullptr)
        return nullptr;
    const Key typeKey = keyOf(type);
    const Key nameKey = keyOf(name);
    bool typeSeen = false;
    for (uint32_t i = 0; i < table->count; ++i) {
        const device::ResourceEntry& entry = table->entries[i];
        if (!matches(typeKey, entry.typeName, entry.typeId))
            continue;
        typeSeen = true;
        if (matches(nameKey, entry.name, entry.id)) {
            if (failure != nullptr)
                *failure = LookupFailure::None;
            return &entry;
        }
    }
    if (failure != nullptr && typeSeen)
        *failure = LookupFailure::NameNotFound;
    return nullptr;
}

const device::ResourceEntry* findResourceById(HINSTANCE instance, WORD id, WORD type) {
    return findResourceEntry(resourceTableOf(instance), MAKEINTRESOURCEW(id),
                             MAKEINTRESOURCEW(type));
}

}  // namespace platform
