// The registry's text file: every value type round-trips byte for byte, a malformed file is
// reported with its line and changes nothing, and an interrupted save keeps the old file.
#include <device/AtomicFile.h>
#include <device/RegistryFile.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <winreg.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class RegistryFile : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelvo-registry-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        device::setRegistrySaveInterruption(device::SaveInterruption::None);
        device::resetRegistry();
        fs::remove_all(folder_);
    }
    fs::path file(const char* name) const { return folder_ / name; }

    fs::path folder_;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

HKEY kelvoKey() {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, nullptr, 0, 0,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

struct Sample {
    const char16_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> utf16Bytes(std::u16string_view text, bool terminated) {
    std::vector<BYTE> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<Sample> everyKindOfValue() {
    std::vector<BYTE> longBinary;
    for (int i = 0; i < 300; ++i)
        longBinary.push_back(static_cast<BYTE>(i * 7));
    return {
        {u"", REG_SZ, utf16Bytes(u"default", true)},
        {u"Plain", REG_SZ, utf16Bytes(u"Kelvo \"skin\" in C:\\Skins\tok", true)},
        {u"Farsi", REG_SZ, utf16Bytes(u"کلوو فارسی 😀", true)},
        {u"CurSkin", REG_SZ, utf16Bytes(u"Kelvo", false)},
        {u"TwoLines", REG_SZ, utf16Bytes(u"a\r\nb", true)},
        {u"Inner\"Quote\\", REG_SZ, utf16Bytes(std::u16string(u"a\0b", 3), true)},
        {u"OddString", REG_SZ, {0x41, 0x00, 0x42}},
        {u"LoneSurrogate", REG_SZ, utf16Bytes(std::u16string(1, 0xD800), true)},
        {u"EmptyString", REG_SZ, {}},
        {u"Expand", REG_EXPAND_SZ, utf16Bytes(u"%windir%\\x", true)},
        {u"Multi", REG_MULTI_SZ, utf16Bytes(std::u16string(u"one\0two\0", 8), true)},
        {u"RepeatDelay", REG_DWORD, {0x1E, 0x00, 0x00, 0x00}},
        {u"ShortDword", REG_DWORD, {0x01, 0x02}},
        {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 0x88}},
        {u"None", REG_NONE, {}},
        {u"NoneBytes", REG_NONE, {0xFF}},
        {u"Binary", REG_BINARY, longBinary},
        {u"EmptyBinary", REG_BINARY, {}},
        {u"Custom", 0x12345, {9, 8, 7}},
    };
}

}  // namespace

TEST_F(RegistryFile, EveryValueTypeRoundTripsByteForByte) {
    HKEY key = kelvoKey();
    for (const Sample& sample : everyKindOfValue()) {
        ASSERT_EQ(RegSetValueExW(key, sample.name, 0, sample.type, sample.data.data(),
                                 static_cast<DWORD>(sample.data.size())),
                  ERROR_SUCCESS);
    }
    HKEY emptyKey = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Empty\\Key", 0, nullptr, 0, 0, nullptr, &emptyKey,
                    nullptr);
    fs::path path = file("registry.reg");
    ASSERT_TRUE(device::saveRegistryFile(path));
    std::string text = readFile(path);

    // The forms a person reads: quoted text, dword:, hex: with continuation lines.
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SOFTWARE\\Tirvan\\Kelvo]\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Plain\"=\"Kelvo \\\"skin\\\" in C:\\\\Skins\tok\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Farsi\"=\"کلوو فارسی 😀\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"RepeatDelay\"=dword:0000001e\n"), std::string::npos);
    EXPECT_NE(text.find("\"CurSkin\"=hex(1):4b,00,65,00,6c,00,76,00,6f,00\n"), std::string::npos);
    EXPECT_NE(text.find("\"Inner\\\"Quote\\\\\"=hex(1):"), std::string::npos);
    EXPECT_NE(text.find("\"Binary\"=hex:00,07,0e,"), std::string::npos);
    EXPECT_NE(text.find(",\\\n  "), std::string::npos);
    EXPECT_NE(text.find("\"Custom\"=hex(12345):09,08,07\n"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Empty\\Key]\n"), std::string::npos);

    device::resetRegistry();
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, 0, &probe),
              ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(device::loadRegistryFile(path)) << device::loadRegistryFile(path).message;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, 0, &probe),
              ERROR_SUCCESS);
    for (const Sample& sample : everyKindOfValue()) {
        DWORD type = 0;
        BYTE data[400];
        DWORD size = sizeof data;
        ASSERT_EQ(RegQueryValueExW(probe, sample.name, nullptr, &type, data, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, sample.type);
        EXPECT_EQ(std::vector<BYTE>(data, data + size), sample.data);
    }
    // Saving the loaded registry gives the same file again.
    EXPECT_EQ(device::registryText(), text);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Empty\\Key", 0, 0, &probe), ERROR_SUCCESS);
}

TEST_F(RegistryFile, MalformedFileNamesItsLineAndChangesNothing) {
    HKEY key = kelvoKey();
    DWORD before = 7;
    RegSetValueExW(key, u"Kept", 0, REG_DWORD, reinterpret_cast<BYTE*>(&before), 4);
    std::string registryBefore = device::registryText();

    struct Case {
        std::string text;
        size_t line;
        std::string fault;
    };
    const std::string header = "Windows Registry Editor Version 5.00\n\n";
    const std::vector<Case> cases = {
        {"REGEDIT4\n", 1, "first line"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n\"y\" \"z\"\n", 5, "'='"},
        {header + "\"x\"=dword:1\n", 3, "before the first [key]"},
        {header + "[HKEY_NOWHERE\\A]\n", 3, "unknown root key"},
        {header + "[HKEY_CURRENT_USER\\A\n", 3, "']'"},
        {header + "[HKEY_CURRENT_USER\\A\\\\B]\n", 3, "empty key name"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n", 4, "dword"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,zz\n", 4, "\"zz\" is not a hex byte"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,\\\n  02,\\\n  0g\n", 6, "hex byte"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,\\\n", 5, "past the end"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"open\n", 4, "closing quote"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"a\\nb\"\n", 4, "unknown escape"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"\xC3\"\n", 4, "UTF-8"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=word:1\n", 4, "unknown value data"},
        {header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"a\" tail\n", 4, "after the string"},
        {header + "[-HKEY_CURRENT_USER\\A]\n", 3, "not supported"},
        {header + "garbage\n", 3, "expected a [key] line"},
    };
    fs::path path = file("bad.reg");
    for (const Case& c : cases) {
        writeFile(path, c.text);
        device::RegistryFileResult result = device::loadRegistryFile(path);
        EXPECT_FALSE(result) << c.text;
        EXPECT_NE(result.message.find(path.string()), std::string::npos) << result.message;
        EXPECT_NE(result.message.find("line " + std::to_string(c.line) + ":"), std::string::npos)
            << result.message;
        EXPECT_NE(result.message.find(c.fault), std::string::npos) << result.message;
        EXPECT_EQ(readFile(path), c.text);
        EXPECT_EQ(device::registryText(), registryBefore);
    }
    // The handle opened before the failed loads still works on the same key.
    DWORD after = 0;
    DWORD size = 4;
    EXPECT_EQ(
        RegQueryValueExW(key, u"Kept", nullptr, nullptr, reinterpret_cast<BYTE*>(&after), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(after, 7u);
    EXPECT_FALSE(device::loadRegistryFile(file("missing.reg")));
}

TEST_F(RegistryFile, ReadsWhatOtherEditorsWrite) {
    // A byte-order mark, CRLF line ends, comments, blanks around '=', short hex bytes.
    std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; owner details\r\n"
        "[hkey_current_user\\ControlPanel\\Owner]\r\n"
        "\"Owner\" = hex:4a,0,\\\r\n    6f,00\r\n"
        "\"Count\"=dword:A\r\n";
    ASSERT_TRUE(device::loadRegistryText(text)) << device::loadRegistryText(text).message;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"\\ControlPanel\\Owner", 0, 0, &key),
              ERROR_SUCCESS);
    BYTE data[8];
    DWORD size = 8;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, u"Owner", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::vector<BYTE>(data, data + size), (std::vector<BYTE>{0x4A, 0, 0x6F, 0}));
    size = 8;
    ASSERT_EQ(RegQueryValueExW(key, u"Count", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 10);
}

TEST_F(RegistryFile, ReadsLittleEndianUtf16Files) {
    std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\فارسی]\r\n"
        u"\"Name\"=\"کلوو 😀\"\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    ASSERT_TRUE(device::loadRegistryText(bytes)) << device::loadRegistryText(bytes).message;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"فارسی", 0, 0, &key), ERROR_SUCCESS);
    WCHAR value[16] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(
        RegQueryValueExW(key, u"name", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(value), u"کلوو 😀");

    bytes.push_back('x');
    EXPECT_NE(device::loadRegistryText(bytes).message.find("odd number"), std::string::npos);
    std::string lone = "\xFF\xFE" + std::string("W\0\n\0\x00\xD8", 6);
    EXPECT_NE(
        device::loadRegistryText(lone).message.find("line 2: the UTF-16 text has an unpaired"),
        std::string::npos);
}

TEST_F(RegistryFile, LoadingReplacesTheRegistryAndOldHandlesReadAsDeleted) {
    HKEY old = kelvoKey();
    ASSERT_TRUE(device::loadRegistryText(
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Other]\n@=\"x\"\n"));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(old, u"a", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE", 0, 0, &probe), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Other", 0, 0, &probe), ERROR_SUCCESS);
}

TEST_F(RegistryFile, InterruptedSaveLeavesTheOldFileIntact) {
    HKEY key = kelvoKey();
    DWORD value = 1;
    RegSetValueExW(key, u"RepeatDelay", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    fs::path path = file("registry.reg");
    ASSERT_TRUE(device::saveRegistryFile(path));
    std::string saved = readFile(path);

    value = 2;
    RegSetValueExW(key, u"RepeatDelay", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    device::setRegistrySaveInterruption(device::SaveInterruption::BeforeRename);
    EXPECT_FALSE(device::saveRegistryFile(path));
    EXPECT_EQ(readFile(path), saved);

    // The next whole save replaces the file despite the temporary file left behind.
    device::setRegistrySaveInterruption(device::SaveInterruption::None);
    ASSERT_TRUE(device::saveRegistryFile(path));
    EXPECT_NE(readFile(path).find("dword:00000002"), std::string::npos);
}

TEST_F(RegistryFile, AttachedFileIsSavedAfterEveryChange) {
    fs::path path = file("device.reg");
    ASSERT_TRUE(device::attachRegistryFile(path));
    EXPECT_TRUE(fs::exists(path));
    HKEY key = kelvoKey();
    EXPECT_NE(readFile(path).find("[HKEY_CURRENT_USER\\SOFTWARE\\Tirvan\\Kelvo]"),
              std::string::npos);
    DWORD value = 96;
    RegSetValueExW(key, u"DPI", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    EXPECT_NE(readFile(path).find("\"DPI\"=dword:00000060"), std::string::npos);

    // A save cut short keeps the last whole file, and the change stays in memory.
    std::string whole = readFile(path);
    device::setRegistrySaveInterruption(device::SaveInterruption::BeforeRename);
    value = 120;
    EXPECT_EQ(RegSetValueExW(key, u"DPI", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
              ERROR_SUCCESS);
    EXPECT_EQ(readFile(path), whole);
    EXPECT_FALSE(device::attachedRegistryFileStatus());
    EXPECT_EQ(RegFlushKey(key), ERROR_CANTWRITE);
    device::setRegistrySaveInterruption(device::SaveInterruption::None);
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_NE(readFile(path).find("dword:00000078"), std::string::npos);

    // Deleting is a change too; a fresh start from the file sees all of it.
    EXPECT_EQ(RegDeleteValueW(key, u"DPI"), ERROR_SUCCESS);
    device::resetRegistry();
    ASSERT_TRUE(device::attachRegistryFile(path));
    HKEY reopened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, 0, &reopened),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(reopened, u"DPI", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryFile, MalformedAttachedFileIsNeitherLoadedNorOverwritten) {
    fs::path path = file("device.reg");
    const std::string broken =
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\nbad\n";
    writeFile(path, broken);
    device::RegistryFileResult result = device::attachRegistryFile(path);
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("line 3"), std::string::npos);
    kelvoKey();
    EXPECT_EQ(readFile(path), broken);
    // A file that cannot be written is not attached either.
    EXPECT_FALSE(device::attachRegistryFile(file("no-such-folder") / "device.reg"));
    EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryFile, SaveFailuresAreToldWhenTheyBeginAndEndAndALastSaveCarriesTheChanges) {
    fs::path path = file("device.reg");
    ASSERT_TRUE(device::attachRegistryFile(path));
    std::vector<device::RegistryFileResult> told;
    device::watchRegistrySaves(
        [&](const device::RegistryFileResult& status) { told.push_back(status); });
    HKEY key = kelvoKey();
    EXPECT_TRUE(told.empty());

    // A folder where the temporary file goes: every save fails, and that is told once.
    fs::create_directories(device::replacementTemporaryOf(path) / "inside");
    DWORD value = 7;
    RegSetValueExW(key, u"A", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    RegSetValueExW(key, u"B", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_FALSE(told[0]);
    EXPECT_NE(told[0].message.find(device::replacementTemporaryOf(path).string()),
              std::string::npos);
    EXPECT_FALSE(device::saveAttachedRegistryFile());
    EXPECT_EQ(readFile(path).find("\"A\""), std::string::npos);

    // The way cleared, the last try saves both changes and says so.
    fs::remove_all(device::replacementTemporaryOf(path));
    EXPECT_TRUE(device::saveAttachedRegistryFile());
    ASSERT_EQ(told.size(), 2u);
    EXPECT_TRUE(told[1]);
    EXPECT_NE(readFile(path).find("\"A\"=dword:00000007"), std::string::npos);
    EXPECT_NE(readFile(path).find("\"B\"=dword:00000007"), std::string::npos);
    EXPECT_TRUE(device::attachedRegistryFileStatus());

    // Without a file there is nothing to save to.
    device::detachRegistryFile();
    EXPECT_FALSE(device::saveAttachedRegistryFile());
}

TEST_F(RegistryFile, TemporaryFileLeftByASaveCutShortIsRemovedWhenAttached) {
    fs::path path = file("device.reg");
    writeFile(path, "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Kept]\n@=\"x\"\n");
    writeFile(device::replacementTemporaryOf(path), "Windows Registry Editor Vers");
    ASSERT_TRUE(device::attachRegistryFile(path));
    EXPECT_FALSE(fs::exists(device::replacementTemporaryOf(path)));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Kept", 0, 0, &key), ERROR_SUCCESS);

    // Something else in its place is not ours to remove.
    device::detachRegistryFile();
    fs::create_directories(device::replacementTemporaryOf(path));
    ASSERT_TRUE(device::attachRegistryFile(path));
    EXPECT_TRUE(fs::is_directory(device::replacementTemporaryOf(path)));
}
