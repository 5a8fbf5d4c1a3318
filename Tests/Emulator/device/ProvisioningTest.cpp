// A fresh device provisioned as kvemu's first start does it: the keyboard installed and
// registered as an input method, the skin and its settings, shortcuts, owner details.
#include <DeviceTest.h>
#include <device/FileSystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <fstream>

#include "device/DeviceFolder.h"
#include "device/DeviceNames.h"
#include "device/Provisioning.h"
#include "sip/InputMethodCatalog.h"

namespace {

class Provisioning : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        m_sources =
            std::filesystem::path(m_root).parent_path() / (m_root.filename().string() + "-sources");
        std::filesystem::create_directories(m_sources);
        std::ofstream(m_sources / "Kelvo.ksk") << "skin bytes";
        std::ofstream(m_sources / "Kelvo.htm") << "<html>help</html>";
    }
    void TearDown() override {
        std::filesystem::remove_all(m_sources);
        DeviceTest::TearDown();
    }
    ProvisionSources sources() const {
        return {KELVO_DLL_PATH, KVHELPER_PATH, m_sources / "Kelvo.ksk", m_sources / "Kelvo.htm"};
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
};

TEST_F(Provisioning, InstallsTheKeyboardAsTheCurrentInputMethodWithItsSkin) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    ProvisionResult result = provisionDevice(sources());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.warnings.empty());

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
    EXPECT_NE(GetFileAttributesW(u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"SkinsPath"),
              u"\\Program Files\\Kelvo\\Skins");
    DWORD bytes = 0;
    EXPECT_EQ(text(HKEY_CURRENT_USER, kKelvoSettingsKey, u"CurSkin", &bytes), u"Kelvo");
    EXPECT_EQ(bytes, 10u);

    // The Start menu with its games folder, and the Notes shortcut.
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\Start Menu\\Programs\\Games"),
              FILE_ATTRIBUTE_DIRECTORY);
    // The helper program, and help files opening in the help viewer.
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\KvHelper.exe"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u".htm", nullptr), u"htmlfile");
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u".html", nullptr), u"htmlfile");
    EXPECT_EQ(text(HKEY_CLASSES_ROOT, u"htmlfile\\Shell\\Open\\Command", nullptr),
              u"peghelp.exe file:%1");
    WCHAR target[MAX_PATH] = {};
    EXPECT_TRUE(
        SHGetShortcutTarget(u"\\Windows\\Start Menu\\Programs\\Notes.lnk", target, MAX_PATH));
    EXPECT_EQ(std::u16string(target), u"\\Windows\\notes.exe");
    CoUninitialize();
}

TEST_F(Provisioning, OwnerDetailsSitAtTheirOffsetsEachTerminated) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    ASSERT_TRUE(provisionDevice(sources()).ok);
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
    CoUninitialize();
}

TEST_F(Provisioning, MissingSkinOrHelperIsAWarningAndAMissingLibraryAnError) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    ProvisionSources noSkin = sources();
    noSkin.skinFile = m_sources / "Nothing.ksk";
    noSkin.helperProgram = m_sources / "NoHelper.exe";
    ProvisionResult result = provisionDevice(noSkin);
    EXPECT_TRUE(result.ok);
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_NE(result.warnings[0].find("NoHelper.exe"), std::string::npos);
    EXPECT_NE(result.warnings[1].find("Nothing.ksk"), std::string::npos);

    ProvisionSources noLibrary = sources();
    noLibrary.kelvoLibrary = m_sources / "NoSuch.dll";
    result = provisionDevice(noLibrary);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("NoSuch.dll"), std::string::npos);
    CoUninitialize();
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
    EXPECT_EQ(device.state(), FolderState::Fresh);
    ASSERT_TRUE(device.markProvisioned(error));
    EXPECT_EQ(device.state(), FolderState::Provisioned);
    EXPECT_EQ(device.nextScreenshot().filename(), "shot-0001.png");
    std::ofstream(device.nextScreenshot()) << "png";
    EXPECT_EQ(device.nextScreenshot().filename(), "shot-0002.png");

    ASSERT_TRUE(device.erase(error)) << error;
    EXPECT_EQ(device.state(), FolderState::Fresh);
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
