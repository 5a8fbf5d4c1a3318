// The Reg* calls of the Windows API on the device's registry. Each takes the registry's mutex
// for its whole run, validates its handle, and never writes past a buffer it was given.
#include <winreg.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "registry/DeviceRegistry.h"

using platform::DeviceRegistry;
using platform::RegistryKey;
using platform::RegistryValue;
using SharedKey = std::shared_ptr<RegistryKey>;

namespace {

std::u16string_view viewOf(LPCWSTR text) {
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

// Splits a subkey path into key names; leading, trailing and repeated backslashes are
// ignored. False when a name cannot be a key name.
bool splitPath(LPCWSTR path, std::vector<std::u16string_view>& names) {
    std::u16string_view rest = viewOf(path);
    while (!rest.empty()) {
        size_t slash = rest.find(u'\\');
        std::u16string_view name = rest.substr(0, slash);
        if (!name.empty()) {
            if (!platform::validKeyName(name))
                return false;
            names.push_back(name);
        }
        if (slash == std::u16string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    return true;
}

// Finds the key at `path` below `base`; null when some key on the way does not exist.
SharedKey findKey(SharedKey base, const std::vector<std::u16string_view>& names) {
    for (std::u16string_view name : names) {
        if (!base)
            break;
        base = base->findChild(name);
    }
    return base;
}

// Copies a name with its terminator into a buffer of *length units; ERROR_MORE_DATA (nothing
// written) when it does not fit. On success *length is the name's length.
LONG copyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
    if (buffer == nullptr || length == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (*length < name.size() + 1)
        return ERROR_MORE_DATA;
    std::memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Delivers a value's bytes by the query rules: a null buffer asks for the size; a buffer too
// small gets ERROR_MORE_DATA with the needed size and nothing written.
LONG deliverData(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (data != nullptr && dataSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (type != nullptr)
        *type = value.type;
    DWORD size = static_cast<DWORD>(value.data.size());
    if (data == nullptr) {
        if (dataSize != nullptr)
            *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0)
        std::memcpy(data, value.data.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

void clearTime(PFILETIME time) {
    if (time != nullptr)
        *time = FILETIME{0, 0};
}

void clearClass(LPWSTR keyClass, LPDWORD classLength) {
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0)
        keyClass[0] = 0;
    if (classLength != nullptr)
        *classLength = 0;
}

// Runs `work(registry, current)` on the open key `key` with the registry's mutex held; the
// status of a handle that does not resolve to a key otherwise.
template <typename Work>
LONG withOpenKey(HKEY key, Work work) {
    DeviceRegistry& registry = DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    SharedKey current;
    if (LONG status = registry.resolve(key, current); status != ERROR_SUCCESS)
        return status;
    return work(registry, current);
}

// The same on the existing key at `subKey` below the open key `key`; ERROR_FILE_NOT_FOUND
// when there is none.
template <typename Work>
LONG withSubKey(HKEY key, LPCWSTR subKey, Work work) {
    return withOpenKey(key, [&](DeviceRegistry& registry, const SharedKey& base) -> LONG {
        std::vector<std::u16string_view> names;
        if (!splitPath(subKey, names))
            return ERROR_FILE_NOT_FOUND;
        SharedKey found = findKey(base, names);
        if (!found)
            return ERROR_FILE_NOT_FOUND;
        return work(registry, found);
    });
}

}  // namespace

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY result, LPDWORD disposition) {
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return withOpenKey(key, [&](DeviceRegistry& registry, SharedKey current) -> LONG {
        std::vector<std::u16string_view> names;
        if (!splitPath(subKey, names))
            return ERROR_INVALID_PARAMETER;
        if (current->depth() + names.size() > platform::kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
        bool created = false;
        for (std::u16string_view name : names)
            current = current->createChild(name, created);
        *result = registry.openHandle(current);
        if (disposition != nullptr) {
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        }
        if (created)
            registry.changed();
        return ERROR_SUCCESS;
    });
}

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return withSubKey(key, subKey, [&](DeviceRegistry& registry, const SharedKey& found) -> LONG {
        *result = registry.openHandle(found);
        return ERROR_SUCCESS;
    });
}

LONG RegCloseKey(HKEY key) {
    DeviceRegistry& registry = DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    return registry.closeHandle(key);
}

LONG RegFlushKey(HKEY key) {
    return withOpenKey(key, [](DeviceRegistry& registry, const SharedKey&) -> LONG {
        return registry.changed() ? ERROR_SUCCESS : ERROR_CANTWRITE;
    });
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (subKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    return withSubKey(key, subKey, [](DeviceRegistry& registry, const SharedKey& target) -> LONG {
        RegistryKey* parent = target->parent();
        if (parent == nullptr)
            return ERROR_ACCESS_DENIED;  // a root key
        parent->removeChild(target->name());
        registry.changed();
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    if (reserved != nullptr)
        return ERROR_INVALID_PARAMETER;
    return withOpenKey(key, [&](DeviceRegistry&, const SharedKey& current) -> LONG {
        const RegistryValue* value = current->findValue(viewOf(valueName));
        if (value == nullptr)
            return ERROR_FILE_NOT_FOUND;
        return deliverData(*value, type, data, dataSize);
    });
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    if (data == nullptr && dataSize > 0)
        return ERROR_INVALID_PARAMETER;
    std::u16string_view name = viewOf(valueName);
    if (!platform::validValueName(name))
        return ERROR_INVALID_PARAMETER;
    return withOpenKey(key, [&](DeviceRegistry& registry, const SharedKey& current) -> LONG {
        current->setValue(name, type, std::vector<BYTE>(data, data + dataSize));
        registry.changed();
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    return withOpenKey(key, [&](DeviceRegistry& registry, const SharedKey& current) -> LONG {
        if (!current->removeValue(viewOf(valueName)))
            return ERROR_FILE_NOT_FOUND;
        registry.changed();
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR keyClass,
                   LPDWORD classLength, PFILETIME lastWriteTime) {
    return withOpenKey(key, [&](DeviceRegistry&, const SharedKey& current) -> LONG {
        if (name == nullptr || nameLength == nullptr)
            return ERROR_INVALID_PARAMETER;
        if (index >= current->children().size())
            return ERROR_NO_MORE_ITEMS;
        if (LONG status = copyName(current->children()[index]->name(), name, nameLength);
            status != ERROR_SUCCESS) {
            return status;
        }
        clearClass(keyClass, classLength);
        clearTime(lastWriteTime);
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD,
                   LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    return withOpenKey(key, [&](DeviceRegistry&, const SharedKey& current) -> LONG {
        if (valueName == nullptr || valueNameLength == nullptr)
            return ERROR_INVALID_PARAMETER;
        if (data != nullptr && dataSize == nullptr)
            return ERROR_INVALID_PARAMETER;
        if (index >= current->values().size())
            return ERROR_NO_MORE_ITEMS;
        const RegistryValue& value = current->values()[index];
        if (*valueNameLength < value.name.size() + 1)
            return ERROR_MORE_DATA;
        if (data != nullptr && *dataSize < value.data.size()) {
            *dataSize = static_cast<DWORD>(value.data.size());
            return ERROR_MORE_DATA;
        }
        copyName(value.name, valueName, valueNameLength);
        return deliverData(value, type, data, dataSize);
    });
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                      LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorSize, PFILETIME lastWriteTime) {
    return withOpenKey(key, [&](DeviceRegistry&, const SharedKey& current) -> LONG {
        size_t longestKey = 0;
        for (const auto& child : current->children()) {
            longestKey = std::max(longestKey, child->name().size());
        }
        size_t longestName = 0;
        size_t largestData = 0;
        for (const RegistryValue& value : current->values()) {
            longestName = std::max(longestName, value.name.size());
            largestData = std::max(largestData, value.data.size());
        }
        auto put = [](LPDWORD out, size_t number) {
            if (out != nullptr)
                *out = static_cast<DWORD>(number);
        };
        clearClass(keyClass, classLength);
        put(subKeys, current->children().size());
        put(maxSubKeyLength, longestKey);
        put(maxClassLength, 0);
        put(values, current->values().size());
        put(maxValueNameLength, longestName);
        put(maxValueLength, largestData);
        put(securityDescriptorSize, 0);
        clearTime(lastWriteTime);
        return ERROR_SUCCESS;
    });
}
