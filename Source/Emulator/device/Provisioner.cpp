// The operations provisioning steps are made of.
#include "device/Provisioner.h"

#include <device/AtomicFile.h>
#include <device/FileSystem.h>
#include <wchar16.h>

#include <shellapi.h>

namespace {

std::string utf8(std::u16string_view text) {
    return platform::toUtf8(text);
}

bool isPresent(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace

void Provisioner::beginStep(std::string_view name) {
    m_provisioning = !m_record.stepDone(name);
    m_stepIncomplete = false;
}

void Provisioner::fail(std::string message) {
    if (m_error.empty())
        m_error = std::move(message);
}

void Provisioner::problem(Need need, std::string message) {
    m_stepIncomplete = true;
    if (need == Need::Required)
        fail(std::move(message));
    else
        tell(std::move(message));
}

void Provisioner::ensureFolder(std::u16string_view devicePath, Need need) {
    if (!m_provisioning)
        return;
    auto host = device::resolveDevicePath(devicePath);
    std::error_code code;
    if (!host || (std::filesystem::create_directories(*host, code), code) ||
        !std::filesystem::is_directory(*host, code))
        problem(need, "cannot create the device folder " + utf8(devicePath));
}

void Provisioner::ensureShortcut(std::u16string_view devicePath, std::u16string_view target,
                                 Need need) {
    if (!m_provisioning)
        return;
    auto host = device::resolveDevicePath(devicePath);
    if (host && isPresent(*host))
        return;
    if (!host ||
        !SHCreateShortcut(std::u16string(devicePath).c_str(), std::u16string(target).c_str()))
        problem(need, "cannot write the shortcut " + utf8(devicePath));
}

void Provisioner::ensureFile(std::u16string_view devicePath, std::string_view bytes, Need need) {
    if (!m_provisioning)
        return;
    auto host = device::resolveDevicePath(devicePath);
    if (host && isPresent(*host))
        return;
    std::string error;
    if (!host)
        problem(need, "no device path " + utf8(devicePath));
    else if (!device::replaceFileContents(*host, bytes, error))
        problem(need, "cannot write " + utf8(devicePath) + ": " + error);
}

void Provisioner::ensureValue(HKEY root, std::u16string_view keyPath, std::u16string_view name,
                              DWORD type, const std::vector<BYTE>& data, Need need) {
    if (!m_provisioning && m_registryStart != RegistryStart::Empty)
        return;
    const std::u16string path(keyPath);
    const std::u16string valueName(name);
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        problem(need, "cannot write the registry key " + utf8(keyPath));
        return;
    }
    DWORD size = 0;
    const bool present =
        RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    const bool written =
        present || RegSetValueExW(key, valueName.c_str(), 0, type, data.data(),
                                  static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!written)
        problem(need, "cannot write the registry value " + utf8(keyPath) + "\\" + utf8(name));
}

void Provisioner::ensureText(HKEY root, std::u16string_view keyPath, std::u16string_view name,
                             std::u16string_view text, Terminator terminator, Need need) {
    std::vector<BYTE> data;
    for (char16_t c : text) {
        data.push_back(static_cast<BYTE>(c & 0xFF));
        data.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminator == Terminator::Included)
        data.insert(data.end(), {0, 0});
    ensureValue(root, keyPath, name, REG_SZ, data, need);
}

bool Provisioner::copyIntoDevice(const std::filesystem::path& hostFile,
                                 std::u16string_view devicePath, Need need) {
    auto target = device::resolveDevicePath(devicePath);
    if (!target) {
        problem(need, "no device path " + utf8(devicePath));
        return false;
    }
    // Copied beside the target and renamed over it, so that a start cut short never leaves
    // half a file in its place.
    std::filesystem::path temporary = *target;
    temporary += ".tmp";
    std::error_code code;
    std::filesystem::create_directories(target->parent_path(), code);
    std::filesystem::copy_file(hostFile, temporary,
                               std::filesystem::copy_options::overwrite_existing, code);
    if (!code)
        std::filesystem::rename(temporary, *target, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        problem(need, "cannot copy " + hostFile.string() + " to " + utf8(devicePath) + ": " +
                          code.message());
        return false;
    }
    return true;
}

bool Provisioner::installProgramFile(const std::filesystem::path& hostFile,
                                     std::u16string_view devicePath, Need need) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(hostFile, code)) {
        problem(need, "this build has no " + hostFile.string());
        return false;
    }
    auto target = device::resolveDevicePath(devicePath);
    if (target && sameFileContents(hostFile, *target))
        return false;
    return copyIntoDevice(hostFile, devicePath, need);
}

void Provisioner::installContentFile(const std::filesystem::path& hostFile,
                                     std::u16string_view devicePath, Need need) {
    auto target = device::resolveDevicePath(devicePath);
    if (!target) {
        problem(need, "no device path " + utf8(devicePath));
        return;
    }
    if (!isPresent(*target)) {
        if (!m_provisioning)
            return;  // the user removed it
        const std::optional<FileDigest> build = digestOfFile(hostFile);
        if (!build) {
            problem(need, "this build has no " + hostFile.string());
            return;
        }
        if (copyIntoDevice(hostFile, devicePath, need))
            m_record.markInstalled(devicePath, *build);
        return;
    }
    const std::optional<FileDigest> build = digestOfFile(hostFile);
    const std::optional<FileDigest> onDevice = digestOfFile(*target);
    if (!build || !onDevice || onDevice == build) {
        if (build && onDevice == build)
            m_record.markInstalled(devicePath, *build);
        return;
    }
    // Another build's copy, untouched since it was installed: this build's takes its place.
    if (m_record.installed(devicePath) == onDevice && copyIntoDevice(hostFile, devicePath, need)) {
        m_record.markInstalled(devicePath, *build);
        tell("installed this build's " + hostFile.filename().string() + " as " + utf8(devicePath));
    }
}
