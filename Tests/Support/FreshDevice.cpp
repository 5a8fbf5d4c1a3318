// Every case of every test program starts on a fresh device: before the case's fixture is
// made, the processes of earlier cases must have ended, the device is put back as it starts
// (device/Reset.h) and the kept globals of the program's libraries are restored.
#include <device/Programs.h>
#include <device/Reset.h>
#include <gtest/gtest.h>
#include <wchar16.h>

#include "FreshDevice.h"
#include "KeptGlobals.h"

namespace testsupport {

std::string runningPrograms() {
    std::string names;
    for (const auto& program : device::runningProcesses())
        names += (names.empty() ? "" : ", ") + platform::toUtf8(program);
    return names;
}

namespace {

class FreshDevice : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        // A fatal failure here fails the case before its fixture is made, and it does not run.
        // Processes that outlived the limit once are taken as never ending: the cases after
        // fail at once instead of waiting for them again.
        m_stuck = !device::waitForAllProcesses(m_stuck ? 0 : kProcessEndLimitMs);
        ASSERT_FALSE(m_stuck) << "the device cannot be reset: an earlier case left processes "
                                 "running: "
                              << runningPrograms();
        ASSERT_TRUE(device::resetDevice()) << "still running: " << runningPrograms();
        restoreKeptGlobals();
    }

    bool m_stuck = false;
};

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDevice);
    return true;
}();

}  // namespace

}  // namespace testsupport
