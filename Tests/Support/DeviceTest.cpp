// A fresh device for each test: the device itself is put back before every case of the
// program (FreshDevice.cpp); the fixture adds the case's own folder and clock.
#include "DeviceTest.h"

#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Programs.h>
#include <device/Scheduler.h>

#include <stdlib.h>
#include <fstream>

#include "FreshDevice.h"

void DeviceTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvo-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_root = pattern;
    device::setDeviceRoot(m_root);
    device::useVirtualClock(0);
    device::enrolCurrentThread();
}

void DeviceTest::TearDown() {
    EXPECT_TRUE(device::waitForAllProcesses(testsupport::kProcessEndLimitMs))
        << "processes this case started have not ended: " << testsupport::runningPrograms();
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
