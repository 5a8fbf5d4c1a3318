// Provisioning steps for the built-in programs: their Start-menu shortcuts and the sample
// contacts.
#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"
#include "programs/contacts/ContactList.h"
#include "programs/contacts/Contacts.h"

void ensureProgramShortcuts(Provisioner& provisioner) {
    struct Entry {
        const char16_t* folder;
        const char16_t* name;
        const char16_t* program;
    };
    static constexpr Entry kShortcuts[] = {
        {kProgramsFolder, u"Contacts", kContactsProgram},
        {kProgramsFolder, u"Calendar", kCalendarProgram},
        {kGamesFolder, u"Puzzle", kPuzzleProgram},
        {kGamesFolder, u"Memory", kMemoryProgram},
    };
    for (const Entry& entry : kShortcuts) {
        provisioner.ensureShortcut(std::u16string(entry.folder) + u"\\" + entry.name + u".lnk",
                                   std::u16string(kWindowsFolder) + u"\\" + entry.program,
                                   Need::Optional);
    }
}

void ensureSampleContacts(Provisioner& provisioner) {
    provisioner.ensureFile(kContactsFile, contactsFileText(sampleContacts()), Need::Optional);
}
