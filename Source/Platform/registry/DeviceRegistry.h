// The device's one registry: the tree, the handles opened on it and the file it is kept in,
// all guarded by one mutex so that every device thread may use it.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "registry/RegistryTree.h"
#include "windef.h"

namespace platform {

class DeviceRegistry {
public:
    static DeviceRegistry& instance();

    // Guards everything below; every member function expects it held.
    std::mutex mutex;

    RegistryTree& tree() { return tree_; }
    // Puts `tree` in place of the current one; keys of the old tree read as deleted.
    void replaceTree(RegistryTree tree);

    HKEY openHandle(std::shared_ptr<RegistryKey> key);
    // ERROR_SUCCESS with the key, ERROR_INVALID_HANDLE or ERROR_KEY_DELETED.
    LONG resolve(HKEY handle, std::shared_ptr<RegistryKey>& key) const;
    LONG closeHandle(HKEY handle);

    // The file saved after every change; empty when none is attached.
    const std::filesystem::path& attachedFile() const { return attachedFile_; }
    void attach(std::filesystem::path file) {
        attachedFile_ = std::move(file);
        lastSaveError_.clear();
    }
    // Called after every change: saves to the attached file. False (with the reason kept in
    // lastSaveError) when that save failed. The watcher hears when saving starts failing and
    // when it works again.
    bool changed();
    const std::string& lastSaveError() const { return lastSaveError_; }
    void setSaveWatcher(std::function<void(const std::string& error)> watcher) {
        saveWatcher_ = std::move(watcher);
    }

private:
    DeviceRegistry() = default;

    RegistryTree tree_;
    std::unordered_map<uintptr_t, std::shared_ptr<RegistryKey>> handles_;
    uintptr_t nextHandle_ = 0x10000;
    std::filesystem::path attachedFile_;
    std::string lastSaveError_;
    std::function<void(const std::string& error)> saveWatcher_;
};

// The root a predefined handle (HKEY_CURRENT_USER, ...) names, or nothing.
std::optional<RootKey> predefinedRoot(HKEY handle);

}  // namespace platform
