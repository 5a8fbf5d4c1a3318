// The device's programs.
#include "programs/DevicePrograms.h"

#include <device/Programs.h>
#include <windows.h>

#include <string>
#include <vector>

#include "device/DeviceNames.h"
#include "programs/Notes.h"
#include "programs/calendar/Calendar.h"
#include "programs/contacts/Contacts.h"
#include "programs/games/Games.h"
#include "programs/help/Help.h"

void registerDevicePrograms() {
    registerNotesProgram();
    registerContactsProgram();
    registerCalendarProgram();
    registerPuzzleProgram();
    registerMemoryProgram();
    registerHelpProgram();
    device::registerProgramLibrary(kHelperProgram, kHelperProgramPath);
}

bool startStartupProgram() {
    std::u16string line = kNotesProgram;
    std::vector<WCHAR> commandLine(line.begin(), line.end());
    commandLine.push_back(0);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        nullptr, &info))
        return false;
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return true;
}
