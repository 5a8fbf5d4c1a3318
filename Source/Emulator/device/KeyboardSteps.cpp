// Provisioning steps for the keyboard: its library installed and registered, its default skin,
// and the keyboard as the device's current input method.
#include <device/ServerLibrary.h>
#include <wchar16.h>

#include <algorithm>
#include <cstdio>

#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"
#include "sip/InputMethodCatalog.h"

namespace {

std::u16string inFolder(const char16_t* folder, const std::filesystem::path& hostFile) {
    return std::u16string(folder) + u"\\" + platform::fromUtf8(hostFile.filename().string());
}

bool sameDevicePath(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; };
               return upper(x) == upper(y);
           });
}

// Whether the keyboard's class is registered as an input method served by `library`.
bool keyboardRegisteredAs(std::u16string_view library) {
    const auto methods = registeredInputMethods();
    const bool listed = std::any_of(methods.begin(), methods.end(), [](const InputMethodEntry& m) {
        return m.clsid == kKelvoClsid;
    });
    const std::optional<std::u16string> server = classServerPath(kKelvoClsid);
    return listed && server && sameDevicePath(*server, library);
}

}  // namespace

void ensureKeyboardInstalled(Provisioner& provisioner) {
    const std::filesystem::path& source = provisioner.sources().kelvoLibrary;
    const std::u16string library = inFolder(kWindowsFolder, source);
    const bool installed = provisioner.installProgramFile(source, library, Need::Required);
    if (provisioner.failed())
        return;
    const bool registered = keyboardRegisteredAs(library);
    if (registered && !installed)
        return;
    // A new build's library registers itself again: its entries may differ.
    const HRESULT result = device::registerInstalledServer(library);
    if (result != S_OK) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08X", static_cast<unsigned>(result));
        provisioner.fail("cannot register the keyboard library " + platform::toUtf8(library) +
                         " (" + code + ")");
        return;
    }
    if (!registered && !provisioner.provisioning())
        provisioner.tell("the keyboard was not registered as an input method: registered it again");
}

void ensureDefaultSkin(Provisioner& provisioner) {
    const ProvisionSources& sources = provisioner.sources();
    // Without the skin the keyboard shows its missing-skin message; without the help file
    // its help key finds nothing.
    provisioner.installContentFile(sources.skinFile, inFolder(kSkinsFolder, sources.skinFile),
                                   Need::Optional);
    provisioner.installContentFile(sources.skinHelpFile,
                                   inFolder(kSkinsFolder, sources.skinHelpFile), Need::Optional);
    provisioner.ensureText(HKEY_CURRENT_USER, kKelvoSettingsKey, u"SkinsPath", kSkinsFolder,
                           Provisioner::Terminator::Included, Need::Required);
    provisioner.ensureText(HKEY_CURRENT_USER, kKelvoSettingsKey, u"CurSkin", u"Kelvo",
                           Provisioner::Terminator::Omitted, Need::Required);
}

void ensureKeyboardChosen(Provisioner& provisioner) {
    provisioner.ensureText(HKEY_CURRENT_USER, kSipKey, kDefaultImValue, clsidText(kKelvoClsid),
                           Provisioner::Terminator::Included, Need::Required);
}
