// Provisioning a fresh device folder.
#include "device/Provisioning.h"

#include <device/FileSystem.h>
#include <device/ServerLibrary.h>
#include <shellapi.h>
#include <wchar16.h>
#include <windows.h>

#include <cstring>

#include "device/DeviceNames.h"

namespace {

std::string utf8(std::u16string_view text) {
    return platform::toUtf8(text);
}

bool makeFolder(std::u16string_view devicePath, std::string& error) {
    auto host = device::resolveDevicePath(devicePath);
    std::error_code code;
    if (!host || (std::filesystem::create_directories(*host, code), code)) {
        error = "cannot create the device folder " + utf8(devicePath);
        return false;
    }
    return true;
}

bool copyIntoDevice(const std::filesystem::path& hostFile, std::u16string_view devicePath,
                    std::string& error) {
    auto target = device::resolveDevicePath(devicePath);
    std::error_code code;
    if (!target) {
        error = "no device path " + utf8(devicePath);
        return false;
    }
    std::filesystem::copy_file(hostFile, *target, std::filesystem::copy_options::overwrite_existing,
                               code);
    if (code) {
        error =
            "cannot copy " + hostFile.string() + " to " + utf8(devicePath) + ": " + code.message();
        return false;
    }
    return true;
}

class Key {
public:
    explicit Key(const char16_t* path, HKEY root = HKEY_CURRENT_USER) {
        RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &m_key, nullptr);
    }
    ~Key() {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    // "with terminator": REG_SZ data with its zero, as most writers store it; "characters
    // only" as the keyboard itself writes "CurSkin".
    enum class Terminator { Included, Omitted };
    bool setText(const char16_t* name, std::u16string_view text, Terminator terminator) {
        std::u16string data(text);
        size_t bytes = data.size() * 2 + (terminator == Terminator::Included ? 2 : 0);
        return m_key != nullptr &&
               RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
    }
    bool setBinary(const char16_t* name, const std::vector<unsigned char>& data) {
        return m_key != nullptr && RegSetValueExW(m_key, name, 0, REG_BINARY, data.data(),
                                                  static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }

private:
    HKEY m_key = nullptr;
};

std::u16string guidText(const GUID& guid) {
    WCHAR text[40] = {};
    swprintf(text, 40, u"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
             static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
             guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
             guid.Data4[6], guid.Data4[7]);
    return text;
}

}  // namespace

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

ProvisionResult provisionDevice(const ProvisionSources& sources) {
    ProvisionResult result;
    for (const char16_t* folder :
         {kWindowsFolder, kProgramsFolder, kGamesFolder, kDocumentsFolder, kSkinsFolder}) {
        if (!makeFolder(folder, result.error))
            return result;
    }

    HRESULT registered = device::registerServerLibrary(sources.kelvoLibrary);
    if (registered != S_OK) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08X", static_cast<unsigned>(registered));
        result.error = "cannot install and register the keyboard library " +
                       sources.kelvoLibrary.string() + " (" + code + ")";
        return result;
    }

    // The helper program: without it the settings key and the launcher start nothing.
    std::string problem;
    if (!copyIntoDevice(sources.helperProgram, kHelperProgramPath, problem))
        result.warnings.push_back(problem);
    // Help files (".htm", ".html") open in the help viewer.
    {
        Key htm(u".htm", HKEY_CLASSES_ROOT), html(u".html", HKEY_CLASSES_ROOT);
        Key command((std::u16string(kHelpFileClass) + u"\\Shell\\Open\\Command").c_str(),
                    HKEY_CLASSES_ROOT);
        if (!htm.setText(nullptr, kHelpFileClass, Key::Terminator::Included) ||
            !html.setText(nullptr, kHelpFileClass, Key::Terminator::Included) ||
            !command.setText(nullptr, kHelpFileOpenCommand, Key::Terminator::Included))
            result.warnings.push_back("cannot write the help file type to the registry");
    }

    // The default skin: without it the keyboard shows its missing-skin message.
    std::error_code code;
    if (!std::filesystem::is_regular_file(sources.skinFile, code)) {
        result.warnings.push_back("no default skin at " + sources.skinFile.string() +
                                  ": the keyboard will say that its skin is missing");
    } else if (!copyIntoDevice(sources.skinFile,
                               std::u16string(kSkinsFolder) + u"\\" +
                                   platform::fromUtf8(sources.skinFile.filename().string()),
                               problem)) {
        result.warnings.push_back(problem);
    }
    if (!std::filesystem::is_regular_file(sources.skinHelpFile, code)) {
        result.warnings.push_back("no help file at " + sources.skinHelpFile.string());
    } else if (!copyIntoDevice(sources.skinHelpFile,
                               std::u16string(kSkinsFolder) + u"\\" +
                                   platform::fromUtf8(sources.skinHelpFile.filename().string()),
                               problem)) {
        result.warnings.push_back(problem);
    }
    {
        Key settings(kKelvoSettingsKey);
        if (!settings.setText(u"SkinsPath", kSkinsFolder, Key::Terminator::Included) ||
            !settings.setText(u"CurSkin", u"Kelvo", Key::Terminator::Omitted)) {
            result.error = "cannot write the keyboard's settings to the registry";
            return result;
        }
    }

    const std::u16string notesShortcut = std::u16string(kProgramsFolder) + u"\\Notes.lnk";
    const std::u16string notesTarget = std::u16string(kWindowsFolder) + u"\\" + kNotesProgram;
    if (!SHCreateShortcut(notesShortcut.c_str(), notesTarget.c_str()))
        result.warnings.push_back("cannot write the shortcut " + utf8(notesShortcut));

    {
        Key owner(kOwnerKey);
        if (!owner.setBinary(u"Owner",
                             ownerBlock(u"Sara Tehrani", u"Tirvan Software",
                                        u"12 Vali-Asr Avenue, Tehran", u"+98 21 5555 0100")))
            result.warnings.push_back("cannot write the owner's details");
    }
    {
        Key sip(kSipKey);
        if (!sip.setText(kDefaultImValue, guidText(kKelvoClsid), Key::Terminator::Included)) {
            result.error = "cannot choose the keyboard as the current input method";
            return result;
        }
    }
    result.ok = true;
    return result;
}
