// The built-in programs' provisioning steps: their shortcuts in the Programs and Games folders
// and the sample contacts, added while the steps are new to the device, never over what the
// user has, and said when they cannot be written.
#include <DeviceTest.h>
#include <shellapi.h>
#include <windows.h>

#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"
#include "programs/contacts/ContactList.h"
#include "programs/contacts/Contacts.h"

namespace {

// The target a shortcut names, or empty.
std::u16string targetOf(const WCHAR* shortcut) {
    WCHAR target[MAX_PATH] = {};
    return SHGetShortcutTarget(shortcut, target, MAX_PATH) ? target : u"";
}

class ProgramSteps : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        writeDeviceFile(u"\\Windows\\Start Menu\\Programs\\Games\\.keep", "");
        writeDeviceFile(u"\\My Documents\\.keep", "");
    }
    // Both steps, as a start runs them; true when both went through whole.
    bool start() {
        Provisioner provisioner(m_sources, m_record, RegistryStart::FromFile);
        bool complete = true;
        for (const ProvisionStep& step : provisionSteps()) {
            if (step.name != "program-shortcuts" && step.name != "sample-contacts")
                continue;
            provisioner.beginStep(step.name);
            step.ensure(provisioner);
            if (provisioner.stepComplete())
                m_record.markStepDone(step.name);
            complete = complete && provisioner.stepComplete();
        }
        m_messages = provisioner.messages();
        return complete;
    }

    ProvisionSources m_sources;
    ProvisionRecord m_record;
    std::vector<std::string> m_messages;
};

TEST_F(ProgramSteps, ShortcutsAndSampleContactsOnANewDeviceAndNotAgainOnceRemoved) {
    EXPECT_TRUE(start());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(targetOf(u"\\Windows\\Start Menu\\Programs\\Contacts.lnk"),
              u"\\Windows\\contacts.exe");
    EXPECT_EQ(targetOf(u"\\Windows\\Start Menu\\Programs\\Calendar.lnk"),
              u"\\Windows\\calendar.exe");
    EXPECT_EQ(targetOf(u"\\Windows\\Start Menu\\Programs\\Games\\Puzzle.lnk"),
              u"\\Windows\\puzzle.exe");
    EXPECT_EQ(targetOf(u"\\Windows\\Start Menu\\Programs\\Games\\Memory.lnk"),
              u"\\Windows\\memory.exe");
    EXPECT_EQ(readContactsFile(kContactsFile).list.contacts.size(), sampleContacts().size());

    // What the user removed stays removed on the next start.
    DeleteFileW(u"\\Windows\\Start Menu\\Programs\\Games\\Puzzle.lnk");
    DeleteFileW(kContactsFile);
    EXPECT_TRUE(start());
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\Start Menu\\Programs\\Games\\Puzzle.lnk"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(kContactsFile), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProgramSteps, TheUsersContactsAreKeptAndAFileThatCannotBeWrittenIsSaid) {
    writeDeviceFile(kContactsFile, "Mine\t1\n");
    EXPECT_TRUE(start());
    const ContactsFile contacts = readContactsFile(kContactsFile);
    ASSERT_EQ(contacts.list.contacts.size(), 1u);
    EXPECT_EQ(contacts.list.contacts[0].name, u"Mine");

    // Without a "My Documents" folder the sample cannot be written: the device works without
    // it, the step is tried again at the next start.
    DeleteFileW(kContactsFile);
    DeleteFileW(u"\\My Documents\\.keep");
    RemoveDirectoryW(u"\\My Documents");
    m_record = ProvisionRecord();
    EXPECT_FALSE(start());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("My Documents\\Contacts.txt"), std::string::npos);
    EXPECT_FALSE(m_record.stepDone("sample-contacts"));
    EXPECT_TRUE(m_record.stepDone("program-shortcuts"));
}

}  // namespace
