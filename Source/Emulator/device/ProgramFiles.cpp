// Provisioning the built-in programs' shortcuts and sample contacts.
#include "device/ProgramFiles.h"

#include <device/FileSystem.h>
#include <wchar16.h>

#include "device/DeviceNames.h"
#include "device/Shortcut.h"
#include "programs/common/DeviceFile.h"
#include "programs/contacts/ContactList.h"
#include "programs/contacts/Contacts.h"

std::vector<std::string> provisionProgramFiles() {
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
    std::vector<std::string> warnings;
    for (const Entry& entry : kShortcuts) {
        const std::u16string path = std::u16string(entry.folder) + u"\\" + entry.name + u".lnk";
        if (!writeShortcut(path, std::u16string(kWindowsFolder) + u"\\" + entry.program))
            warnings.push_back("cannot write the shortcut " + platform::toUtf8(path));
    }
    const auto contacts = device::resolveDevicePath(kContactsFile);
    std::error_code code;
    if (!contacts || !std::filesystem::exists(*contacts, code)) {
        if (!saveDeviceFile(kContactsFile, contactsFileText(sampleContacts())))
            warnings.push_back("cannot write the sample contacts " +
                               platform::toUtf8(kContactsFile));
    }
    return warnings;
}
