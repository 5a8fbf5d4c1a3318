// Programs for the shell tests: two built-in programs that end at once (one with an icon of the
// test program's own), what was started as the event log tells it, and file associations.
#pragma once

#include <DeviceTest.h>
#include <device/EventLog.h>
#include <device/Programs.h>
#include <winbase.h>
#include <winreg.h>

#include <string>
#include <vector>

#include "StartedPrograms.h"

namespace shelltest {

inline constexpr WORD kRecorderIcon = 301;

inline int endAtOnce(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return 0;
}

class ShellTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        device::registerProgram(u"Recorder.exe", endAtOnce, kRecorderIcon);
        device::registerProgram(u"Viewer.exe", endAtOnce);
    }
    void TearDown() override {
        device::waitForAllProcesses(10000);
        DeviceTest::TearDown();
    }

    // The programs started ("Viewer.exe file:\\a.htm"), once they have all ended.
    static std::vector<std::u16string> started() { return testsupport::startedPrograms(); }

    static void setClassText(const std::u16string& key, const std::u16string& text) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, 0, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(opened);
    }

    // ".htm" documents open with Viewer.exe, "file:" and the document.
    static void associateHtml() {
        setClassText(u".htm", u"htmlfile");
        setClassText(u"htmlfile\\Shell\\Open\\Command", u"Viewer.exe file:%1");
    }
};

}  // namespace shelltest
