// A panel on a device with programs to start: "KvHelper.exe" and the help viewer "peghelp.exe"
// (both end at once), "Puzzle.exe" with an icon and "Plain.exe" without one, and helpers that
// write Start-menu shortcuts and read back what was started.
#pragma once

#include <device/EventLog.h>
#include <device/Programs.h>
#include <device/Scheduler.h>
#include <shellapi.h>

#include <filesystem>

#include "StartedPrograms.h"

#include "TypingLayouts.h"
#include "panel/PanelPaint.h"

class LaunchTest : public PanelTest {
protected:
    static int endAtOnce(HINSTANCE, HINSTANCE, LPWSTR, int) { return 0; }

    void SetUp() override {
        PanelTest::SetUp();
        device::registerProgram(u"KvHelper.exe", endAtOnce);
        device::registerProgram(u"peghelp.exe", endAtOnce);
        // The test program's module carries the library's resources: its close icon will do.
        device::registerProgram(u"Puzzle.exe", endAtOnce, IDI_CLOSE_SMALL);
        device::registerProgram(u"Plain.exe", endAtOnce);
    }
    void TearDown() override {
        device::waitForAllProcesses(10000);
        PanelTest::TearDown();
    }

    // A shortcut at `path`, its folders made first.
    void shortcut(const std::u16string& path, const std::u16string& target) {
        std::error_code ignored;
        std::filesystem::create_directories(hostPath(path).parent_path(), ignored);
        ASSERT_TRUE(SHCreateShortcut(path.c_str(), target.c_str()));
    }

    static std::vector<std::u16string> started() { return testsupport::startedPrograms(); }
};
