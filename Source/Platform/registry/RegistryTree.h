// The registry's tree in memory: keys with ordered subkeys and typed values, looked up by
// case-insensitive names that keep their case. Keys are shared so that open handles outlive
// a deletion and can tell that their key is gone.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "windef.h"

namespace platform {

// Keys nest at most this deep below a root (a root is depth 0).
inline constexpr size_t kMaxKeyDepth = 512;

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users };
inline constexpr size_t kRootKeyCount = 4;

// Case-insensitive equality of key and value names.
bool sameName(std::u16string_view a, std::u16string_view b);

// Whether a key name (one component) or a value name may be stored: the length limit, and no
// control characters, so that every name has a text form.
bool validKeyName(std::u16string_view name);
bool validValueName(std::u16string_view name);

struct RegistryValue {
    std::u16string name;  // empty: the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

class RegistryKey {
public:
    RegistryKey(std::u16string name, size_t depth);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const std::u16string& name() const { return name_; }
    size_t depth() const { return depth_; }
    bool deleted() const { return deleted_; }
    // The key this one is a child of; null for a root and for a deleted key.
    RegistryKey* parent() const { return parent_; }

    const std::vector<std::shared_ptr<RegistryKey>>& children() const { return children_; }
    std::shared_ptr<RegistryKey> findChild(std::u16string_view name) const;
    // The existing child of that name, or a new one (`created` tells which).
    std::shared_ptr<RegistryKey> createChild(std::u16string_view name, bool& created);
    // Detaches the child and marks it and everything below it deleted.
    bool removeChild(std::u16string_view name);

    const std::vector<RegistryValue>& values() const { return values_; }
    const RegistryValue* findValue(std::u16string_view name) const;
    // Replaces the data of an existing value in place, or appends a new value.
    void setValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool removeValue(std::u16string_view name);

    // Marks this key and all below it deleted (without recursion, however deep the tree).
    void markDeleted();

private:
    std::u16string name_;
    size_t depth_;
    bool deleted_ = false;
    RegistryKey* parent_ = nullptr;
    std::vector<std::shared_ptr<RegistryKey>> children_;
    std::vector<RegistryValue> values_;
};

struct RegistryTree {
    RegistryTree();
    std::array<std::shared_ptr<RegistryKey>, kRootKeyCount> roots;
};

// The text name of a root ("HKEY_CURRENT_USER").
std::u16string_view rootKeyName(RootKey root);

}  // namespace platform
