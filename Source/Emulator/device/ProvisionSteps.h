// The steps that provision a device folder, run in this order at every start (see
// Provisioner.h for what a step may add and when). A step is a function made of the
// Provisioner's ensure operations, listed with a name of its own in provisionSteps(); the name
// is recorded in the device folder once the step has been through, so renaming a step makes
// it run as new on every folder.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "device/Provisioner.h"

struct ProvisionStep {
    std::string_view name;
    void (*ensure)(Provisioner& provisioner);
};

std::span<const ProvisionStep> provisionSteps();

// The device's folders: "\Windows", its Start menu with "Games", "My Documents", the skins.
void ensureDeviceFolders(Provisioner& provisioner);
// Kelvo.dll in "\Windows\", this build's, registered as an input method.
void ensureKeyboardInstalled(Provisioner& provisioner);
// KvHelper.exe in "\Windows\", this build's (the program table names it at every start).
void ensureHelperInstalled(Provisioner& provisioner);
// Help files (".htm", ".html") open in the help viewer "peghelp.exe".
void ensureHelpFileType(Provisioner& provisioner);
// The default skin and its help file in the skins folder, "SkinsPath" and "CurSkin".
void ensureDefaultSkin(Provisioner& provisioner);
// The Start menu's shortcuts.
void ensureStartMenu(Provisioner& provisioner);
// Sample owner details under "ControlPanel\Owner".
void ensureOwnerDetails(Provisioner& provisioner);
// The keyboard as the current input method ("DefaultIm" under "ControlPanel\Sip").
void ensureKeyboardChosen(Provisioner& provisioner);
// The built-in programs' shortcuts: Contacts and Calendar in the Programs folder, Puzzle and
// Memory in its Games folder.
void ensureProgramShortcuts(Provisioner& provisioner);
// The sample contacts in "\My Documents\Contacts.txt".
void ensureSampleContacts(Provisioner& provisioner);

// The owner block: 640 bytes, each field zero-terminated at its offset.
std::vector<unsigned char> ownerBlock(std::u16string_view name, std::u16string_view company,
                                      std::u16string_view address, std::u16string_view telephone);
