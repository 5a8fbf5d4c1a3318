// The first start of a device folder: the keyboard library installed in "\Windows\" and
// registered, its helper program beside it, the help file type opening in the help viewer,
// the default skin and its help file in the skins folder with "SkinsPath" naming
// it, Start-menu shortcuts, sample owner details, and the keyboard as the current input method.
// The device's root and registry file must be set up before.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProvisionSources {
    std::filesystem::path kelvoLibrary;   // host path of Kelvo.dll
    std::filesystem::path helperProgram;  // host path of KvHelper.exe
    std::filesystem::path skinFile;       // host path of the default skin (Kelvo.ksk)
    std::filesystem::path skinHelpFile;   // host path of its help file (Kelvo.htm)
};

struct ProvisionResult {
    bool ok = false;
    std::string error;                  // why provisioning failed (the device is unusable)
    std::vector<std::string> warnings;  // what is missing, the device works without it
};

ProvisionResult provisionDevice(const ProvisionSources& sources);

// The sample owner block: 640 bytes, each field zero-terminated at its offset.
std::vector<unsigned char> ownerBlock(std::u16string_view name, std::u16string_view company,
                                      std::u16string_view address, std::u16string_view telephone);
