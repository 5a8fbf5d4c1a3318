// What the device started: the "process" events of its log, each the program's name and its
// command line ("KvHelper.exe SETTINGS"), read once every started program has ended.
#pragma once

#include <device/EventLog.h>
#include <device/Programs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::u16string> startedPrograms() {
    EXPECT_TRUE(device::waitForAllProcesses(10000));
    std::vector<std::u16string> lines;
    for (const auto& event : device::eventsOfKind(u"process"))
        lines.push_back(event.text);
    return lines;
}

}  // namespace testsupport
