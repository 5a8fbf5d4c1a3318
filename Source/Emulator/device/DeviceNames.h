// Names the emulator's device is provisioned with and its shell and host look up: folders,
// registry keys and the keyboard's class.
#pragma once

#include <guiddef.h>

inline constexpr CLSID kKelvoClsid = {
    0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};

inline constexpr const char16_t* kWindowsFolder = u"\\Windows";
inline constexpr const char16_t* kProgramsFolder = u"\\Windows\\Start Menu\\Programs";
inline constexpr const char16_t* kGamesFolder = u"\\Windows\\Start Menu\\Programs\\Games";
inline constexpr const char16_t* kDocumentsFolder = u"\\My Documents";
inline constexpr const char16_t* kKelvoFolder = u"\\Program Files\\Kelvo";
inline constexpr const char16_t* kSkinsFolder = u"\\Program Files\\Kelvo\\Skins";

// HKEY_CURRENT_USER: the keyboard's settings, the owner's details, the current input method.
inline constexpr const char16_t* kKelvoSettingsKey = u"SOFTWARE\\Tirvan\\Kelvo";
inline constexpr const char16_t* kOwnerKey = u"ControlPanel\\Owner";
inline constexpr const char16_t* kSipKey = u"ControlPanel\\Sip";
inline constexpr const char16_t* kDefaultImValue = u"DefaultIm";

// The owner block "Owner": UTF-16 fields at these byte offsets, zero-terminated.
inline constexpr unsigned kOwnerBlockSize = 640;
inline constexpr unsigned kOwnerNameOffset = 0;
inline constexpr unsigned kOwnerCompanyOffset = 72;
inline constexpr unsigned kOwnerAddressOffset = 144;
inline constexpr unsigned kOwnerTelephoneOffset = 516;

// The built-in programs, and the keyboard's helper program (a program library).
inline constexpr const char16_t* kNotesProgram = u"notes.exe";
inline constexpr const char16_t* kContactsProgram = u"contacts.exe";
inline constexpr const char16_t* kCalendarProgram = u"calendar.exe";
inline constexpr const char16_t* kPuzzleProgram = u"puzzle.exe";
inline constexpr const char16_t* kMemoryProgram = u"memory.exe";
inline constexpr const char16_t* kHelpProgram = u"peghelp.exe";
inline constexpr const char16_t* kHelperProgram = u"KvHelper.exe";
inline constexpr const char16_t* kHelperProgramPath = u"\\Windows\\KvHelper.exe";

// Help files open in the help viewer, which takes "file:" and the file's path.
inline constexpr const char16_t* kHelpFileClass = u"htmlfile";
inline constexpr const char16_t* kHelpFileOpenCommand = u"peghelp.exe file:%1";
