// A fresh device for each test.
#include "DeviceTest.h"

#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Programs.h>
#include <device/Reset.h>
#include <device/Scheduler.h>
#include <wchar16.h>

#include <stdlib.h>
#include <fstream>

#include "KeptGlobals.h"

namespace {

// How long (real time) the processes of a case get to end after it.
constexpr unsigned kProcessEndLimitMs = 10000;

std::string runningPrograms() {
    std::string names;
    for (const auto& program : device::runningProcesses())
        names += (names.empty() ? "" : ", ") + platform::toUtf8(program);
    return names;
}

}  // namespace

void DeviceTest::SetUp() {
    ASSERT_TRUE(device::waitForAllProcesses(kProcessEndLimitMs))
        << "the device cannot be reset: an earlier case left processes running: "
        << runningPrograms();
    ASSERT_TRUE(device::resetDevice()) << "still running: " << runningPrograms();
    testsupport::restoreKeptGlobals();
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvo-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_root = pattern;
    device::setDeviceRoot(m_root);
    device::useVirtualClock(0);
    device::enrolCurrentThread();
}

void DeviceTest::TearDown() {
    EXPECT_TRUE(device::waitForAllProcesses(kProcessEndLimitMs))
        << "processes this case started have not ended: " << runningPrograms();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::filesystem::path DeviceTest::hostPath(std::u16string_view devicePath) const {
    auto resolved = device::resolveDevicePath(devicePath);
    return resolved ? *resolved : std::filesystem::path();
}

void DeviceTest::writeDeviceFile(std::u16string_view devicePath, std::string_view bytes) const {
    auto path = hostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
