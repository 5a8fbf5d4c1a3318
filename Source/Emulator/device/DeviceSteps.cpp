// Provisioning steps for the device itself: its folders, the Start menu and the owner's details.
#include <cstring>

#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"

void ensureDeviceFolders(Provisioner& provisioner) {
    for (const char16_t* folder :
         {kWindowsFolder, kProgramsFolder, kGamesFolder, kDocumentsFolder, kSkinsFolder})
        provisioner.ensureFolder(folder, Need::Required);
}

void ensureStartMenu(Provisioner& provisioner) {
    provisioner.ensureShortcut(std::u16string(kProgramsFolder) + u"\\Notes.lnk",
                               std::u16string(kWindowsFolder) + u"\\" + kNotesProgram,
                               Need::Optional);
}

void ensureOwnerDetails(Provisioner& provisioner) {
    const std::vector<unsigned char> block = ownerBlock(
        u"Sara Tehrani", u"Tirvan Software", u"12 Vali-Asr Avenue, Tehran", u"+98 21 5555 0100");
    provisioner.ensureValue(HKEY_CURRENT_USER, kOwnerKey, u"Owner", REG_BINARY, block,
                            Need::Optional);
}

std::vector<unsigned char> ownerBlock(std::u16string_view name, std::u16string_view company,
                                      std::u16string_view address, std::u16string_view telephone) {
    std::vector<unsigned char> block(kOwnerBlockSize, 0);
    // Each field ends where the next begins (the telephone at the block's end), keeping one
    // unit for its terminator.
    auto put = [&](unsigned offset, unsigned end, std::u16string_view text) {
        size_t units = std::min<size_t>(text.size(), (end - offset) / 2 - 1);
        std::memcpy(block.data() + offset, text.data(), units * 2);
    };
    put(kOwnerNameOffset, kOwnerCompanyOffset, name);
    put(kOwnerCompanyOffset, kOwnerAddressOffset, company);
    put(kOwnerAddressOffset, kOwnerTelephoneOffset, address);
    put(kOwnerTelephoneOffset, kOwnerBlockSize, telephone);
    return block;
}
