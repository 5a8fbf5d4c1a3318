// The fixture most tests start from: a fresh device with its own root folder and a virtual
// clock standing at zero, with the test's thread counted as the device's busy shell. (Every
// case of a test program starts on a device put back as it starts, device/Reset.h, with the
// globals of the program's libraries as they were loaded, KeptGlobals.h.) A case fails if a
// process it started has not ended soon after it finishes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The host path of a device path under this test's root.
    std::filesystem::path hostPath(std::u16string_view devicePath) const;
    // Writes a file at a device path, creating its folders.
    void writeDeviceFile(std::u16string_view devicePath, std::string_view bytes) const;

    std::filesystem::path m_root;
};
