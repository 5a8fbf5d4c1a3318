// Provisioning steps for what the keyboard starts: its helper program, and the help viewer as
// the program that opens help files.
#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"

void ensureHelperInstalled(Provisioner& provisioner) {
    // Without it the settings key and the launcher start nothing; the keyboard still types.
    provisioner.installProgramFile(provisioner.sources().helperProgram, kHelperProgramPath,
                                   Need::Optional);
}

void ensureHelpFileType(Provisioner& provisioner) {
    for (const char16_t* extension : {u".htm", u".html"}) {
        provisioner.ensureText(HKEY_CLASSES_ROOT, extension, u"", kHelpFileClass,
                               Provisioner::Terminator::Included, Need::Optional);
    }
    provisioner.ensureText(HKEY_CLASSES_ROOT,
                           std::u16string(kHelpFileClass) + u"\\Shell\\Open\\Command", u"",
                           kHelpFileOpenCommand, Provisioner::Terminator::Included, Need::Optional);
}
