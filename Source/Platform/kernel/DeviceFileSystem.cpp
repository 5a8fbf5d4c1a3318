// Resolves device paths inside the device's root folder. The device has no current directory
// and no "..": every path starts at the root, backslashes and slashes both separate, repeated
// separators count as one, and names match case-insensitively.
#include <device/FileSystem.h>

#include <unistd.h>
#include <mutex>
#include <system_error>

#include "kernel/DevicePath.h"
#include <wchar16.h>

namespace device {

namespace {

struct RootState {
    std::mutex mutex;
    std::filesystem::path root;
    bool temporary = false;
    ~RootState() {
        if (temporary) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        }
    }
};

RootState& rootState() {
    static RootState state;
    return state;
}

}  // namespace

void setDeviceRoot(const std::filesystem::path& hostFolder) {
    auto& state = rootState();
    std::lock_guard lock(state.mutex);
    std::error_code ignored;
    std::filesystem::create_directories(hostFolder, ignored);
    if (state.temporary)
        std::filesystem::remove_all(state.root, ignored);
    state.root = std::filesystem::absolute(hostFolder, ignored);
    state.temporary = false;
}

std::filesystem::path deviceRoot() {
    auto& state = rootState();
    std::lock_guard lock(state.mutex);
    if (state.root.empty()) {
        std::error_code ignored;
        auto base = std::filesystem::temp_directory_path(ignored);
        state.root = base / ("kelvo-device-" + std::to_string(::getpid()));
        std::filesystem::create_directories(state.root, ignored);
        state.temporary = true;
    }
    return state.root;
}

std::optional<std::filesystem::path> resolveDevicePath(std::u16string_view devicePath) {
    auto components = platform::splitDevicePath(devicePath);
    if (!components)
        return std::nullopt;
    std::filesystem::path host = deviceRoot();
    bool existing = true;  // every component so far names something that exists
    for (const auto& component : *components) {
        std::string name = platform::toUtf8(component);
        std::error_code error;
        if (existing) {
            auto exact = host / name;
            auto status = std::filesystem::symlink_status(exact, error);
            if (!error && std::filesystem::exists(status)) {
                if (std::filesystem::is_symlink(status))
                    return std::nullopt;
                host = exact;
                continue;
            }
            bool matched = false;
            for (auto it = std::filesystem::directory_iterator(host, error);
                 !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
                auto entryName = platform::fromUtf8(it->path().filename().string());
                if (platform::sameDeviceName(entryName, component)) {
                    if (it->is_symlink(error))
                        return std::nullopt;
                    host = it->path();
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
            existing = false;
        }
        host /= name;
    }
    return host;
}

}  // namespace device
