// The list of provisioning steps. A new step: a function of the Provisioner's ensure
// operations in a file of its own in this folder, declared in ProvisionSteps.h and listed here.
#include "device/ProvisionSteps.h"

namespace {

// One step a line, so that steps are added without touching their neighbours.
// clang-format off
constexpr ProvisionStep kSteps[] = {
    {"folders", ensureDeviceFolders},
    {"keyboard", ensureKeyboardInstalled},
    {"helper", ensureHelperInstalled},
    {"help-file-type", ensureHelpFileType},
    {"default-skin", ensureDefaultSkin},
    {"start-menu", ensureStartMenu},
    {"owner", ensureOwnerDetails},
    {"input-method", ensureKeyboardChosen},
    {"program-shortcuts", ensureProgramShortcuts},
    {"sample-contacts", ensureSampleContacts},
};
// clang-format on

}  // namespace

std::span<const ProvisionStep> provisionSteps() {
    return kSteps;
}
