// The device's control over the registry's file: loading, atomic saving, attaching a file that
// is saved after every change, and resetting to an empty registry.
#include <device/RegistryFile.h>

#include <fstream>
#include <iterator>

#include "kernel/DeviceReset.h"
#include "registry/AtomicFile.h"
#include "registry/DeviceRegistry.h"
#include "registry/RegistryText.h"

namespace device {

namespace {

// A registry file larger than this is refused rather than read into memory.
constexpr std::uintmax_t kMaxRegistryFileSize = 16u << 20;

// A fresh device has an empty registry, kept in memory only, whose saves run to the end.
const bool resetRegistered = platform::addResetStep(platform::ResetStage::Device, [] {
    resetRegistry();
    setRegistrySaveInterruption(SaveInterruption::None);
});

RegistryFileResult failure(std::string message) {
    return RegistryFileResult{false, std::move(message)};
}

// Reads and parses the file; on failure `message` says why and nothing is returned.
std::optional<platform::RegistryTree> readTree(const std::filesystem::path& path,
                                               std::string& message) {
    std::error_code code;
    std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        message = path.string() + ": " + code.message();
        return std::nullopt;
    }
    if (size > kMaxRegistryFileSize) {
        message = path.string() + ": the file is larger than a registry file can be";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        message = path.string() + ": cannot be read";
        return std::nullopt;
    }
    platform::RegistryTextError error;
    std::optional<platform::RegistryTree> tree = platform::parseRegistryText(text, error);
    if (!tree)
        message = path.string() + ": line " + std::to_string(error.line) + ": " + error.what;
    return tree;
}

void install(platform::RegistryTree tree) {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    registry.replaceTree(std::move(tree));
    registry.changed();
}

}  // namespace

RegistryFileResult loadRegistryFile(const std::filesystem::path& path) {
    std::string message;
    std::optional<platform::RegistryTree> tree = readTree(path, message);
    if (!tree)
        return failure(message);
    install(std::move(*tree));
    return {};
}

RegistryFileResult loadRegistryText(std::string_view text) {
    platform::RegistryTextError error;
    std::optional<platform::RegistryTree> tree = platform::parseRegistryText(text, error);
    if (!tree)
        return failure("line " + std::to_string(error.line) + ": " + error.what);
    install(std::move(*tree));
    return {};
}

RegistryFileResult saveRegistryFile(const std::filesystem::path& path) {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    std::string error;
    if (!device::replaceFileContents(path, platform::writeRegistryText(registry.tree()), error)) {
        return failure(error);
    }
    return {};
}

std::string registryText() {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    return platform::writeRegistryText(registry.tree());
}

RegistryFileResult attachRegistryFile(const std::filesystem::path& path) {
    // Nothing else saves this file while it is attached: a temporary file beside it is a
    // leftover. One that cannot be removed is overwritten by the next save anyway.
    std::string ignored;
    removeLeftoverReplacement(path, ignored);
    std::error_code code;
    bool exists = std::filesystem::exists(path, code);
    std::optional<platform::RegistryTree> tree;
    if (exists) {
        std::string message;
        tree = readTree(path, message);
        if (!tree)
            return failure(message);
    }
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    if (tree)
        registry.replaceTree(std::move(*tree));
    registry.attach(path);
    if (!exists && !registry.changed()) {
        std::string message = registry.lastSaveError();
        registry.attach({});
        return failure(message);
    }
    return {};
}

void detachRegistryFile() {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    registry.attach({});
}

RegistryFileResult attachedRegistryFileStatus() {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    if (!registry.lastSaveError().empty())
        return failure(registry.lastSaveError());
    return {};
}

RegistryFileResult saveAttachedRegistryFile() {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    if (registry.attachedFile().empty())
        return failure("no registry file is attached");
    if (!registry.changed())
        return failure(registry.lastSaveError());
    return {};
}

void watchRegistrySaves(RegistrySaveWatcher watcher) {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    if (!watcher) {
        registry.setSaveWatcher(nullptr);
        return;
    }
    registry.setSaveWatcher([watcher = std::move(watcher)](const std::string& error) {
        watcher(error.empty() ? RegistryFileResult{} : RegistryFileResult{false, error});
    });
}

void resetRegistry() {
    platform::DeviceRegistry& registry = platform::DeviceRegistry::instance();
    std::lock_guard lock(registry.mutex);
    registry.attach({});
    registry.setSaveWatcher(nullptr);
    registry.replaceTree(platform::RegistryTree{});
}

void setRegistrySaveInterruption(SaveInterruption interruption) {
    platform::setReplaceStop(interruption == SaveInterruption::BeforeRename
                                 ? platform::ReplaceStop::BeforeRename
                                 : platform::ReplaceStop::Never);
}

}  // namespace device
