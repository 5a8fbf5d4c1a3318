// The device folder on the host that keeps a device between runs: the device's file system
// root, its registry file, its event log, the screenshots taken of it and the record of its
// provisioning.
#pragma once

#include <filesystem>
#include <string>

#include "device/ProvisionRecord.h"

class DeviceFolder {
public:
    explicit DeviceFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    ~DeviceFolder();
    DeviceFolder(const DeviceFolder&) = delete;
    DeviceFolder& operator=(const DeviceFolder&) = delete;

    // Takes the folder for this process (the folder is created if missing), so that a second
    // kvemu on the same device is refused instead of both writing its registry. Released
    // when the object goes. False with a message when the folder is taken or cannot be used.
    bool claim(std::string& error);

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path root() const { return m_folder / "root"; }
    std::filesystem::path registryFile() const { return m_folder / "registry.reg"; }
    std::filesystem::path eventLogFile() const { return m_folder / "events.log"; }
    std::filesystem::path screenshots() const { return m_folder / "screenshots"; }

    // The record of provisioning: the mark "provisioned" (the steps done) and "installed".
    ProvisionRecord provisionRecord() const {
        return ProvisionRecord(markFile(), installRecordFile());
    }

    // Creates the folder and its root. False with a message when that fails.
    bool create(std::string& error) const;
    // Removes what this folder holds of a device (only the entries named above, so that a
    // wrong --device never deletes anything else). False with a message when that fails.
    bool erase(std::string& error) const;

    // A new screenshot file name: screenshots/shot-NNNN.png, the first number not yet taken.
    std::filesystem::path nextScreenshot() const;

private:
    std::filesystem::path markFile() const { return m_folder / "provisioned"; }
    std::filesystem::path installRecordFile() const { return m_folder / "installed"; }
    std::filesystem::path lockFile() const { return m_folder / "lock"; }
    std::filesystem::path m_folder;
    int m_lock = -1;
};
