// The device folder on the host.
#include "device/DeviceFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

DeviceFolder::~DeviceFolder() {
    if (m_lock >= 0)
        ::close(m_lock);
}

bool DeviceFolder::claim(std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(m_folder, code);
    const int fd = ::open(lockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot use the device folder " + m_folder.string() + ": " + std::strerror(errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        error = "the device folder " + m_folder.string() + " is in use by another kvemu";
        return false;
    }
    m_lock = fd;
    return true;
}

bool DeviceFolder::create(std::string& error) const {
    std::error_code code;
    std::filesystem::create_directories(root(), code);
    if (code || !std::filesystem::is_directory(root())) {
        error = "cannot create the device folder " + root().string() + ": " + code.message();
        return false;
    }
    return true;
}

bool DeviceFolder::erase(std::string& error) const {
    for (const auto& path :
         {markFile(), installRecordFile(), registryFile(), eventLogFile(), screenshots(), root()}) {
        std::error_code code;
        std::filesystem::remove_all(path, code);
        if (code) {
            error = "cannot remove " + path.string() + ": " + code.message();
            return false;
        }
    }
    return true;
}

std::filesystem::path DeviceFolder::nextScreenshot() const {
    std::error_code ignored;
    std::filesystem::create_directories(screenshots(), ignored);
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof(name), "shot-%04d.png", n);
        auto path = screenshots() / name;
        if (!std::filesystem::exists(path, ignored))
            return path;
    }
}
