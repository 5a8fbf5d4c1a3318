// The event log's file: events are appended as they happen, a file that cannot be opened is
// refused at once, and one that stops taking events is reported instead of passed over.
#include <DeviceTest.h>
#include <device/EventLog.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class EventLogFile : public DeviceTest {
protected:
    static std::string read(const fs::path& path) {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(EventLogFile, EventsAreAppendedAndAFileThatCannotBeWrittenIsRefusedOrReported) {
    const fs::path file = m_root / "events.log";
    std::ofstream(file) << "earlier run\n";
    std::string error;
    ASSERT_TRUE(device::appendEventLogTo(file, error)) << error;
    device::logEvent(u"beep", u"0x40");
    EXPECT_NE(read(file).find("earlier run\n"), std::string::npos);
    EXPECT_NE(read(file).find(" beep 0x40\n"), std::string::npos);
    EXPECT_EQ(device::eventLogFileError(), "");

    // A folder, or a file in a folder that does not exist, is refused when attached.
    EXPECT_FALSE(device::appendEventLogTo(m_root, error));
    EXPECT_NE(error.find("cannot write the event log " + m_root.string()), std::string::npos);
    EXPECT_FALSE(device::appendEventLogTo(m_root / "no/such/events.log", error));

    // A file that stops taking events (its folder went) is reported, from the first event
    // that was lost.
    const fs::path inner = m_root / "inner";
    fs::create_directories(inner);
    ASSERT_TRUE(device::appendEventLogTo(inner / "events.log", error)) << error;
    fs::remove_all(inner);
    device::logEvent(u"process", u"notes.exe");
    device::logEvent(u"process", u"games.exe");
    EXPECT_NE(device::eventLogFileError().find("cannot write the event log " +
                                               (inner / "events.log").string()),
              std::string::npos);
    // The events are still in memory.
    EXPECT_EQ(device::eventsOfKind(u"process").size(), 2u);
}

}  // namespace
