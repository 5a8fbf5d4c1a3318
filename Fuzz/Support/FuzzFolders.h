// Host folders of a fuzz run's own, below the host's temporary folder and removed when the run
// ends: one for readers that open a host file (the input written there), and one that is the
// device's root folder for targets that run the device.
#pragma once

#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Scheduler.h>
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

// A fresh folder, removed with the object; an empty path when it could not be made.
class RunFolder {
public:
    explicit RunFolder(const char* prefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~RunFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct StreamCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using Stream = std::unique_ptr<FILE, StreamCloser>;

// A stream that throws away what is written to it (null if it cannot be opened).
inline FILE* discardStream() {
    static Stream discard(std::fopen("/dev/null", "wb"));
    return discard.get();
}

// Writes the input as `name` in a folder of the run's own; the file's path, or an empty path
// when it could not be written.
inline std::filesystem::path writeInputFile(const char* name, const uint8_t* data, size_t size) {
    static RunFolder folder("kelvo-fuzz-input");
    if (folder.path().empty())
        return {};
    std::filesystem::path input = folder.path() / name;
    Stream out(std::fopen(input.c_str(), "wb"));
    if (!out || (size != 0 && std::fwrite(data, 1, size, out.get()) != size))
        return {};
    return input;
}

// Starts the device on a folder of the run's own (once): its root folder, the virtual clock at
// zero, the calling thread enrolled. Returns the root's host path; aborts when there is none.
inline const std::filesystem::path& startFuzzDevice() {
    static RunFolder root("kelvo-fuzz");
    static const bool started = [] {
        if (root.path().empty())
            std::abort();
        device::setDeviceRoot(root.path());
        device::useVirtualClock(0);
        device::enrolCurrentThread();
        return true;
    }();
    (void)started;
    return root.path();
}
