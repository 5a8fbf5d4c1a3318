// Provisioning as kvemu's starts do it: on a fresh device the keyboard installed and registered
// as an input method, the skin and its settings, shortcuts, owner details; on a device in use
// only what is missing is added, the user's files and values are kept, and the build's files
// are brought up to date unless the user replaced them.
#include <DeviceTest.h>
#include <device/FileSystem.h>
#include <device/RegistryFile.h>
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <sys/stat.h>

#include <fstream>

#include "device/DeviceFolder.h"
#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"
#include "device/Provisioning.h"
#include "sip/InputMethodCatalog.h"

namespace {

class Provisioning : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        device::resetRegistry();
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        m_sources =
            std::filesystem::path(m_root).parent_path() / (m_root.filename().string() + "-sources");
        std::filesystem::create_directories(m_sources);
        std::ofstream(m_sources / "Kelvo.ksk") << "skin bytes";
        std::ofstream(m_sources / "Kelvo.htm") << "<html>help</html>";
    }
    void TearDown() override {
        CoUninitialize();
        std::filesystem::remove_all(m_sources);
        DeviceTest::TearDown();
    }
    ProvisionSources sources() const {
        return {KELVO_DLL_PATH, KVHELPER_PATH, m_sources / "Kelvo.ksk", m_sources / "Kelvo.htm"};
    }
    // A start of the device: every step, with the record kept between starts.
    ProvisionResult start(RegistryStart registry = RegistryStart::FromFile) {
        return provisionDevice(sources(), m_record, registry);
    }
    // The name in the owner block, or nothing when there is no block.
    static std::optional<std::u16string> ownerName() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kOwnerKey, 0, 0, &key) != ERROR_SUCCESS)
            return std::nullopt;
        BYTE block[kOwnerBlockSize + 2] = {};
        DWORD size = kOwnerBlockSize;
        const LONG status = RegQueryValueExW(key, u"Owner", nullptr, nullptr, block, &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        return std::u16string(reinterpret_cast<const char16_t*>(block));
    }
    std::string deviceFile(std::u16string_view devicePath) const {
        std::ifstream in(hostPath(devicePath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::u16string text(HKEY root, const char16_t* path, const char16_t* name,
                               DWORD* bytes = nullptr) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return u"<no key>";
        WCHAR buffer[300] = {};
        DWORD size = sizeof(buffer) - 2;
        LONG status =
            RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (bytes != nullptr)
            *bytes = size;
        return status == ERROR_SUCCESS ? std::u16string(buffer) : u"<no value>";
    }

    std::filesystem::path m_sources;
    ProvisionRecord m_record;
};

TEST_F(Provisioning, InstallsTheKeyboardAsTheCurrentInputMethodWithItsSkin) {
    ProvisionResult result = start(RegistryStart::Empty);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.messages.empty());

    EXPECT_NE(GetFileAttributesW(u"\\Windows\\Kelvo.dll"), INVALID_FILE_ATTRIBUTES);
    auto registered = registeredInputMethods();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_TRUE(registered[0].clsid == kKelvoClsid);
    EXPECT_EQ(registered[0].name, u"Kelvo Keyboard");
    auto chosen = chosenInputMethod();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(chosen->clsid == kKelvoClsid);
    EXPECT_EQ(text(HKEY_CURRENT_USER, kSipKey, kDefaultImValue),
              u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}");

    // The skin and its help file in the skins folder, which "SkinsPath" names.
    EXPECT_EQ(deviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk"), "skin bytes");
    EXPECT_EQ(deviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm"), "<html>help</html>");
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"SkinsPath"),
              u"\\Program Files\\Kelvo\\Skins");
    DWORD bytes = 0;
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"CurSkin", &bytes), u"Kelvo");
    EXPECT_EQ(bytes, 10u);

    // The Start menu with its games folder, and the Notes shortcut.
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\Start Menu\\Programs\\Games"),
              FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents"), FILE_ATTRIBUTE_DIRECTORY);
    WCHAR target[MAX_PATH] = {};
    EXPECT_TRUE(
        SHGetShortcutTarget(u"\\Windows\\Start Menu\\Programs\\Notes.lnk", target, MAX_PATH));
    EXPECT_EQ(std::u16string(target), u"\\Windows\\notes.exe");
    // The helper program, and help files opening in the help viewer.
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\KvHelper.exe"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u".htm", nullptr), u"htmlfile");
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u".html", nullptr), u"htmlfile");
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u"htmlfile\\Shell\\Open\\Command", nullptr),
              u"peghelp.exe file:%1");

    // Every step went through and is recorded, with the files the build installed.
    for (const ProvisionStep& step : provisionSteps())
        EXPECT_TRUE(m_record.stepDone(step.name)) << step.name;
    EXPECT_EQ(m_record.installed(u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk"),
              digestOfFile(m_sources / "Kelvo.ksk"));
}

TEST_F(Provisioning, OwnerDetailsSitAtTheirOffsetsEachTerminated) {
    ASSERT_TRUE(start(RegistryStart::Empty).ok);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"\\ControlPanel\\Owner", 0, 0, &key),
              ERROR_SUCCESS);
    BYTE block[700] = {};
    DWORD size = sizeof(block);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, u"Owner", nullptr, &type, block, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 640u);
    auto at = [&](size_t offset) {
        return std::u16string(reinterpret_cast<const char16_t*>(block + offset));
    };
    EXPECT_EQ(at(0), u"Sara Tehrani");
    EXPECT_EQ(at(72), u"Tirvan Software");
    EXPECT_EQ(at(144), u"12 Vali-Asr Avenue, Tehran");
    EXPECT_EQ(at(516), u"+98 21 5555 0100");
}

TEST_F(Provisioning, MissingSkinIsAWarningUntilABuildHasItAndAMissingLibraryAnError) {
    std::filesystem::rename(m_sources / "Kelvo.ksk", m_sources / "Later.ksk");
    ProvisionResult result = start(RegistryStart::Empty);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_NE(result.messages[0].find("Kelvo.ksk"), std::string::npos);
    EXPECT_FALSE(m_record.stepDone("default-skin"));
    // The step stays to be done: the next start whose build has the skin installs it.
    std::filesystem::rename(m_sources / "Later.ksk", m_sources / "Kelvo.ksk");
    result = start();
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(deviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk"), "skin bytes");
    EXPECT_TRUE(m_record.stepDone("default-skin"));

    ProvisionSources noLibrary = sources();
    noLibrary.kelvoLibrary = m_sources / "NoSuch.dll";
    ProvisionRecord fresh;
    result = provisionDevice(noLibrary, fresh, RegistryStart::Empty);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("NoSuch.dll"), std::string::npos);
}

TEST_F(Provisioning, AMissingHelperIsAWarningAndTheNextBuildsHelperIsInstalled) {
    ProvisionSources noHelper = sources();
    noHelper.helperProgram = m_sources / "NoHelper.exe";
    ProvisionResult result = provisionDevice(noHelper, m_record, RegistryStart::Empty);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_NE(result.messages[0].find("NoHelper.exe"), std::string::npos);
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\KvHelper.exe"), INVALID_FILE_ATTRIBUTES);
    result = start();
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\KvHelper.exe"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Provisioning, ProvisioningAgainAddsWhatIsMissingAndKeepsTheUsersFilesAndValues) {
    ASSERT_TRUE(start(RegistryStart::Empty).ok);
    // The user's own choices and files.
    HKEY settings = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKelvoSettingsKey, 0, 0, &settings), ERROR_SUCCESS);
    const std::u16string mine = u"Mine";
    RegSetValueExW(settings, u"CurSkin", 0, REG_SZ, reinterpret_cast<const BYTE*>(mine.c_str()), 8);
    DWORD delay = 250;
    RegSetValueExW(settings, u"RepeatDelay", 0, REG_DWORD, reinterpret_cast<BYTE*>(&delay), 4);
    RegCloseKey(settings);
    writeDeviceFile(u"\\My Documents\\letter.txt", "Dear Sara");
    writeDeviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm", "my own help");
    std::filesystem::remove(hostPath(u"\\Windows\\Start Menu\\Programs\\Notes.lnk"));
    RegDeleteKeyW(HKEY_CURRENT_USER, kOwnerKey);

    // The record of provisioning is lost: every step runs as on a new device.
    m_record = ProvisionRecord();
    ProvisionResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"CurSkin"), u"Mine");
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"SkinsPath"),
              u"\\Program Files\\Kelvo\\Skins");
    EXPECT_EQ(deviceFile(u"\\My Documents\\letter.txt"), "Dear Sara");
    EXPECT_EQ(deviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm"), "my own help");
    // What was missing is back.
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\Start Menu\\Programs\\Notes.lnk"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ownerName(), u"Sara Tehrani");
    HKEY check = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKelvoSettingsKey, 0, 0, &check), ERROR_SUCCESS);
    DWORD value = 0, size = 4;
    RegQueryValueExW(check, u"RepeatDelay", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                     &size);
    RegCloseKey(check);
    EXPECT_EQ(value, 250u);
}

TEST_F(Provisioning, LaterStartsLeaveRemovedThingsRemovedButRefillAnEmptyRegistry) {
    ASSERT_TRUE(start(RegistryStart::Empty).ok);
    const std::u16string shortcut = u"\\Windows\\Start Menu\\Programs\\Notes.lnk";
    const std::u16string skin = u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk";
    std::filesystem::remove(hostPath(shortcut));
    std::filesystem::remove(hostPath(skin));
    RegDeleteKeyW(HKEY_CURRENT_USER, kOwnerKey);
    ProvisionResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(hostPath(shortcut)));
    EXPECT_FALSE(std::filesystem::exists(hostPath(skin)));
    EXPECT_EQ(ownerName(), std::nullopt);

    // The registry's file was lost: its values come back, the files stay as they are, and the
    // keyboard is registered again.
    device::resetRegistry();
    result = start(RegistryStart::Empty);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0],
              "the keyboard was not registered as an input method: registered it again");
    ASSERT_TRUE(chosenInputMethod().has_value());
    EXPECT_TRUE(chosenInputMethod()->clsid == kKelvoClsid);
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"SkinsPath"),
              u"\\Program Files\\Kelvo\\Skins");
    EXPECT_EQ(ownerName(), u"Sara Tehrani");
    EXPECT_FALSE(std::filesystem::exists(hostPath(shortcut)));
    EXPECT_FALSE(std::filesystem::exists(hostPath(skin)));
}

TEST_F(Provisioning, TheBuildsFilesAreKeptCurrentUnlessTheUserReplacedThem) {
    ASSERT_TRUE(start(RegistryStart::Empty).ok);
    const std::u16string skin = u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk";
    const std::u16string help = u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm";
    const std::u16string library = u"\\Windows\\Kelvo.dll";

    // Another build's library in its place (or none): this build's is installed and
    // registered again.
    writeDeviceFile(library, "another build");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}");
    ASSERT_TRUE(start().ok);
    EXPECT_TRUE(sameFileContents(hostPath(library), KELVO_DLL_PATH));
    EXPECT_EQ(registeredInputMethods().size(), 1u);
    std::filesystem::remove(hostPath(library));
    ASSERT_TRUE(start().ok);
    EXPECT_TRUE(sameFileContents(hostPath(library), KELVO_DLL_PATH));
    // A rebuilt library of the same size differs in its bytes only.
    std::string rebuilt = deviceFile(library);
    rebuilt[rebuilt.size() / 2] ^= 0x5A;
    writeDeviceFile(library, rebuilt);
    ASSERT_TRUE(start().ok);
    EXPECT_TRUE(sameFileContents(hostPath(library), KELVO_DLL_PATH));

    // A new build's skin replaces the one the old build installed; the help file the user
    // replaced stays the user's.
    writeDeviceFile(help, "my own help");
    std::ofstream(m_sources / "Kelvo.ksk") << "new skin bytes";
    std::ofstream(m_sources / "Kelvo.htm") << "<html>new help</html>";
    ProvisionResult result = start();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(deviceFile(skin), "new skin bytes");
    EXPECT_EQ(deviceFile(help), "my own help");
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_NE(result.messages[0].find("Kelvo.ksk"), std::string::npos);
    // Going back to the older build brings its skin back, as long as the user left it alone.
    std::ofstream(m_sources / "Kelvo.ksk") << "skin bytes";
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(deviceFile(skin), "skin bytes");
    writeDeviceFile(skin, "the user's skin");
    std::ofstream(m_sources / "Kelvo.ksk") << "newer skin bytes";
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(deviceFile(skin), "the user's skin");

    // A FIFO where the skin goes is neither read (that would wait for ever) nor replaced; one
    // where the library goes gives way to the library.
    std::filesystem::remove(hostPath(skin));
    ASSERT_EQ(::mkfifo(hostPath(skin).c_str(), 0644), 0);
    std::filesystem::remove(hostPath(library));
    ASSERT_EQ(::mkfifo(hostPath(library).c_str(), 0644), 0);
    ASSERT_TRUE(start().ok);
    EXPECT_TRUE(std::filesystem::is_fifo(hostPath(skin)));
    EXPECT_TRUE(sameFileContents(hostPath(library), KELVO_DLL_PATH));
}

TEST(ProvisionRecordText, ReadsBackWhatItWritesAndSkipsLinesThatDoNotFit) {
    ProvisionRecord record;
    record.markStepDone("keyboard");
    record.markStepDone("owner");
    record.markInstalled(u"\\Program Files\\Kelvo\\Skins\\کلوو.ksk", {12, 0xABCDEF0123456789});
    ProvisionRecord again;
    again.readSteps(record.stepsText());
    again.readFiles(record.filesText());
    EXPECT_TRUE(again.stepDone("keyboard"));
    EXPECT_TRUE(again.stepDone("owner"));
    EXPECT_FALSE(again.stepDone("folders"));
    EXPECT_EQ(again.installed(u"\\Program Files\\Kelvo\\Skins\\کلوو.ksk"),
              (FileDigest{12, 0xABCDEF0123456789}));

    ProvisionRecord damaged;
    damaged.readFiles(
        "# comment\nzz 12 \\Windows\\A.dll\n0a 1x \\Windows\\B.dll\n0b 3 relative\n"
        "0c 4\n  0d 5 \\Windows\\C.dll  \r\n");
    EXPECT_FALSE(damaged.installed(u"\\Windows\\A.dll"));
    EXPECT_FALSE(damaged.installed(u"\\Windows\\B.dll"));
    EXPECT_EQ(damaged.installed(u"\\Windows\\C.dll"), (FileDigest{5, 0x0d}));
    EXPECT_NE(digestOfFile(KELVO_DLL_PATH), std::nullopt);
    EXPECT_EQ(digestOfFile("/no/such/file"), std::nullopt);
    EXPECT_TRUE(sameFileContents(KELVO_DLL_PATH, KELVO_DLL_PATH));
    EXPECT_FALSE(sameFileContents(KELVO_DLL_PATH, "/no/such/file"));
}

TEST(OwnerBlock, LongFieldsAreCutToLeaveTheirTerminator) {
    std::u16string longName(100, u'n');
    auto block = ownerBlock(longName, u"c", u"a", std::u16string(100, u't'));
    ASSERT_EQ(block.size(), 640u);
    // 35 characters of the name, then a zero before the company at 72.
    EXPECT_EQ(block[68], 'n');
    EXPECT_EQ(block[70], 0);
    EXPECT_EQ(block[71], 0);
    EXPECT_EQ(block[72], 'c');
    EXPECT_EQ(block[638], 0);
    EXPECT_EQ(block[639], 0);
    EXPECT_EQ(block[636], 't');
}

TEST(DeviceFolderErase, RemovesOnlyWhatBelongsToTheDevice) {
    auto folder = std::filesystem::temp_directory_path() / "kvemu-folder-test";
    std::filesystem::remove_all(folder);
    DeviceFolder device(folder);
    std::string error;
    ASSERT_TRUE(device.create(error)) << error;
    std::ofstream(device.registryFile()) << "x";
    std::ofstream(folder / "notes-of-the-user.txt") << "keep me";
    ProvisionRecord record = device.provisionRecord();
    record.markStepDone("folders");
    ASSERT_TRUE(record.save(error)) << error;
    EXPECT_EQ(device.nextScreenshot().filename(), "shot-0001.png");
    std::ofstream(device.nextScreenshot()) << "png";
    EXPECT_EQ(device.nextScreenshot().filename(), "shot-0002.png");

    ASSERT_TRUE(device.erase(error)) << error;
    record.load();
    EXPECT_FALSE(record.stepDone("folders"));
    EXPECT_FALSE(std::filesystem::exists(folder / "provisioned"));
    EXPECT_FALSE(std::filesystem::exists(folder / "installed"));
    EXPECT_FALSE(std::filesystem::exists(device.root()));
    EXPECT_FALSE(std::filesystem::exists(device.registryFile()));
    EXPECT_FALSE(std::filesystem::exists(device.screenshots()));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes-of-the-user.txt"));
    std::filesystem::remove_all(folder);
}

TEST(DeviceFolderClaim, ASecondClaimOnTheSameFolderIsRefusedUntilTheFirstGoes) {
    auto folder = std::filesystem::temp_directory_path() / "kvemu-claim-test";
    std::filesystem::remove_all(folder);
    std::string error;
    {
        DeviceFolder first(folder);
        ASSERT_TRUE(first.claim(error)) << error;
        DeviceFolder second(folder);
        EXPECT_FALSE(second.claim(error));
        EXPECT_NE(error.find("in use by another kvemu"), std::string::npos);
    }
    DeviceFolder again(folder);
    EXPECT_TRUE(again.claim(error)) << error;
    std::filesystem::remove_all(folder);
}

}  // namespace
