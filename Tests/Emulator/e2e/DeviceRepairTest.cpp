// A device folder damaged between runs, as kvemu meets it at its next start: the record of its
// provisioning lost, its registry file deleted, its keyboard library gone or from another
// build. The user's files and values stay, the keyboard works again, and only --reset erases.
#include <device/RegistryFile.h>
#include <gmock/gmock.h>
#include <windows.h>

#include "KvemuRun.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char16_t* kKelvoKey = u"SOFTWARE\\Tirvan\\Kelvo";

// Changes a value in a device's registry file while no kvemu runs, as a settings change of an
// earlier run would have left it.
void setRegistryDword(const std::filesystem::path& file, const char16_t* keyPath,
                      const char16_t* name, DWORD value) {
    ASSERT_TRUE(device::loadRegistryFile(file)) << device::loadRegistryFile(file).message;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    ASSERT_TRUE(device::saveRegistryFile(file));
    device::resetRegistry();
}

// A value of a device's registry file; nothing when it is not there.
std::optional<DWORD> registryDword(const std::filesystem::path& file, const char16_t* keyPath,
                                   const char16_t* name) {
    std::optional<DWORD> found;
    if (device::loadRegistryFile(file)) {
        HKEY key = nullptr;
        DWORD value = 0, size = sizeof(value);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, 0, &key) == ERROR_SUCCESS) {
            if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                                 &size) == ERROR_SUCCESS)
                found = value;
            RegCloseKey(key);
        }
    }
    device::resetRegistry();
    return found;
}

class DeviceRepair : public KvemuTest {
protected:
    void SetUp() override {
        KvemuTest::SetUp();
        const KeyTable farsi = kvskinKeys("240x320", 0);
        ASSERT_NE(farsi.at(0, 0), nullptr);
        m_firstKey = typedText(*farsi.at(0, 0));
        ASSERT_EQ(run("print-text\n").status, 0);
        std::ofstream(letter()) << "Dear Sara";
    }
    std::filesystem::path letter() const { return device() / "root/My Documents/letter.txt"; }
    std::filesystem::path registry() const { return device() / "registry.reg"; }
    std::filesystem::path library() const { return device() / "root/Windows/Kelvo.dll"; }
    // A run that types with the keyboard's first key; the keyboard works when that key's
    // character arrives.
    KvemuResult typeWithTheKeyboard() {
        return run("presskey 0 0\nexpect-text " + m_firstKey + "\n");
    }

    std::string m_firstKey;
};

TEST_F(DeviceRepair, LostProvisionedMarkAddsWhatIsMissingAndKeepsTheUsersData) {
    setRegistryDword(registry(), kKelvoKey, u"RepeatDelay", 250);
    std::filesystem::remove(device() / "root/Windows/Start Menu/Programs/Notes.lnk");
    std::filesystem::remove(device() / "provisioned");

    KvemuResult result = typeWithTheKeyboard();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(slurp(letter()), "Dear Sara");
    EXPECT_EQ(registryDword(registry(), kKelvoKey, u"RepeatDelay"), 250u);
    EXPECT_TRUE(std::filesystem::exists(device() / "root/Windows/Start Menu/Programs/Notes.lnk"));
    EXPECT_TRUE(std::filesystem::exists(device() / "provisioned"));

    // Only --reset erases, and says so.
    result = run("print-text\n", "--reset");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.errors, HasSubstr("--reset: erased the device in " + device().string()));
    EXPECT_FALSE(std::filesystem::exists(letter()));
    EXPECT_EQ(registryDword(registry(), kKelvoKey, u"RepeatDelay"), std::nullopt);
}

TEST_F(DeviceRepair, DeletedRegistryFileGetsTheKeyboardRegisteredAgain) {
    std::filesystem::remove(registry());
    KvemuResult result = typeWithTheKeyboard();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(
        result.errors,
        HasSubstr("the keyboard was not registered as an input method: registered it again"));
    EXPECT_EQ(slurp(letter()), "Dear Sara");
    // Once repaired, the next start has nothing to say.
    result = typeWithTheKeyboard();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.errors, Not(HasSubstr("registered it again")));
}

TEST_F(DeviceRepair, MissingOrForeignKeyboardLibraryIsReplacedByThisBuilds) {
    const std::string built = slurp(KELVO_DLL_PATH);
    std::filesystem::remove(library());
    KvemuResult result = typeWithTheKeyboard();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(slurp(library()) == built);

    // Another build's library, one this build cannot load (as a sanitizer build's is to a
    // release build), left by the last run on this folder.
    std::ofstream(library(), std::ios::binary | std::ios::trunc)
        << built.substr(0, built.size() / 2);
    result = typeWithTheKeyboard();
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(slurp(library()) == built);
    EXPECT_EQ(slurp(letter()), "Dear Sara");
}

TEST_F(DeviceRepair, SkinTheUserReplacedIsKeptAndOneTheUserRemovedStaysRemoved) {
    const auto skin = device() / "root/Program Files/Kelvo/Skins/Kelvo.ksk";
    const auto help = device() / "root/Program Files/Kelvo/Skins/Kelvo.htm";
    EXPECT_EQ(slurp(skin), slurp(DEFAULT_SKIN));
    std::ofstream(help, std::ios::trunc) << "<html>my own notes</html>";
    std::filesystem::remove(skin);
    KvemuResult result = run("print-text\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(slurp(help), "<html>my own notes</html>");
    EXPECT_FALSE(std::filesystem::exists(skin));
}

}  // namespace
