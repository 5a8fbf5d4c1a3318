// The registry's tree in memory: name lookup, creation and removal of keys and values.
#include "registry/RegistryTree.h"

#include <wchar16.h>
#include <winreg.h>

namespace platform {

bool sameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && towlower(a[i]) != towlower(b[i]))
            return false;
    }
    return true;
}

namespace {

// No control characters and no unpaired surrogates: every such name has a UTF-8 text form.
bool printable(std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c < 0x20 || c == 0x7F || (c >= 0xDC00 && c <= 0xDFFF))
            return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF)
                return false;
            ++i;
        }
    }
    return true;
}

}  // namespace

bool validKeyName(std::u16string_view name) {
    return !name.empty() && name.size() <= MAX_KEY_NAME_LENGTH && printable(name) &&
           name.find(u'\\') == std::u16string_view::npos;
}

bool validValueName(std::u16string_view name) {
    return name.size() <= MAX_VALUE_NAME_LENGTH && printable(name);
}

RegistryKey::RegistryKey(std::u16string name, size_t depth)
    : name_(std::move(name)), depth_(depth) {}

RegistryKey::~RegistryKey() = default;

std::shared_ptr<RegistryKey> RegistryKey::findChild(std::u16string_view name) const {
    for (const auto& child : children_) {
        if (sameName(child->name_, name))
            return child;
    }
    return nullptr;
}

std::shared_ptr<RegistryKey> RegistryKey::createChild(std::u16string_view name, bool& created) {
    if (auto existing = findChild(name)) {
        created = false;
        return existing;
    }
    created = true;
    children_.push_back(std::make_shared<RegistryKey>(std::u16string(name), depth_ + 1));
    children_.back()->parent_ = this;
    return children_.back();
}

bool RegistryKey::removeChild(std::u16string_view name) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (sameName((*it)->name_, name)) {
            (*it)->markDeleted();
            (*it)->parent_ = nullptr;
            children_.erase(it);
            return true;
        }
    }
    return false;
}

const RegistryValue* RegistryKey::findValue(std::u16string_view name) const {
    for (const auto& value : values_) {
        if (sameName(value.name, name))
            return &value;
    }
    return nullptr;
}

void RegistryKey::setValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    for (auto& value : values_) {
        if (sameName(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    values_.push_back(RegistryValue{std::u16string(name), type, std::move(data)});
}

bool RegistryKey::removeValue(std::u16string_view name) {
    for (auto it = values_.begin(); it != values_.end(); ++it) {
        if (sameName(it->name, name)) {
            values_.erase(it);
            return true;
        }
    }
    return false;
}

void RegistryKey::markDeleted() {
    std::vector<RegistryKey*> pending{this};
    while (!pending.empty()) {
        RegistryKey* key = pending.back();
        pending.pop_back();
        key->deleted_ = true;
        for (const auto& child : key->children_)
            pending.push_back(child.get());
    }
}

RegistryTree::RegistryTree() {
    for (size_t i = 0; i < kRootKeyCount; ++i) {
        roots[i] =
            std::make_shared<RegistryKey>(std::u16string(rootKeyName(static_cast<RootKey>(i))), 0);
    }
}

std::u16string_view rootKeyName(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot:
            return u"HKEY_CLASSES_ROOT";
        case RootKey::CurrentUser:
            return u"HKEY_CURRENT_USER";
        case RootKey::LocalMachine:
            return u"HKEY_LOCAL_MACHINE";
        case RootKey::Users:
            return u"HKEY_USERS";
    }
    return u"";
}

}  // namespace platform
