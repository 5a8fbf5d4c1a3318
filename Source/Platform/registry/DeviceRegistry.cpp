// The device's registry state: handle table, tree replacement and saving after changes.
#include "registry/DeviceRegistry.h"

#include <winerror.h>
#include <winreg.h>

#include "registry/AtomicFile.h"
#include "registry/RegistryText.h"

namespace platform {

DeviceRegistry& DeviceRegistry::instance() {
    // Never destroyed, so that a device thread still running at exit finds it intact.
    static DeviceRegistry* registry = new DeviceRegistry;
    return *registry;
}

void DeviceRegistry::replaceTree(RegistryTree tree) {
    for (auto& root : tree_.roots)
        root->markDeleted();
    tree_ = std::move(tree);
}

HKEY DeviceRegistry::openHandle(std::shared_ptr<RegistryKey> key) {
    uintptr_t value = nextHandle_;
    nextHandle_ += 4;
    handles_[value] = std::move(key);
    return reinterpret_cast<HKEY>(value);
}

std::optional<RootKey> predefinedRoot(HKEY handle) {
    const HKEY roots[kRootKeyCount] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                                       HKEY_USERS};
    for (size_t i = 0; i < kRootKeyCount; ++i) {
        if (handle == roots[i])
            return static_cast<RootKey>(i);
    }
    return std::nullopt;
}

LONG DeviceRegistry::resolve(HKEY handle, std::shared_ptr<RegistryKey>& key) const {
    if (auto root = predefinedRoot(handle)) {
        key = tree_.roots[static_cast<size_t>(*root)];
        return ERROR_SUCCESS;
    }
    auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == handles_.end())
        return ERROR_INVALID_HANDLE;
    key = it->second;
    return key->deleted() ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

LONG DeviceRegistry::closeHandle(HKEY handle) {
    if (predefinedRoot(handle))
        return ERROR_SUCCESS;
    return handles_.erase(reinterpret_cast<uintptr_t>(handle)) == 1 ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_HANDLE;
}

bool DeviceRegistry::changed() {
    if (attachedFile_.empty())
        return true;
    std::string error;
    const bool saved = device::replaceFileContents(attachedFile_, writeRegistryText(tree_), error);
    const bool wasFailing = !lastSaveError_.empty();
    lastSaveError_ = saved ? std::string() : error;
    if (saveWatcher_ && saved == wasFailing)
        saveWatcher_(lastSaveError_);
    return saved;
}

}  // namespace platform
