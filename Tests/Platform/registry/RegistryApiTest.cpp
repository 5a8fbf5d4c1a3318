// The Reg* calls on the device's registry: keys and paths, values with their exact bytes, the
// query buffer rules, recursive deletion, handle checks and use from several threads.
#include <gtest/gtest.h>
#include <winreg.h>

#include <string>
#include <thread>
#include <vector>

namespace {

HKEY createKey(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key, disposition),
              ERROR_SUCCESS);
    return key;
}

LONG setDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

// The value's bytes, or nothing when the query fails.
std::optional<std::vector<BYTE>> readBytes(HKEY key, const char16_t* name, DWORD* type = nullptr) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key, name, nullptr, type, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

}  // namespace

TEST(RegistryKeys, CreateReportsDispositionAndOpenIgnoresCase) {
    DWORD disposition = 0;
    HKEY key = createKey(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    HKEY again = createKey(HKEY_CURRENT_USER, u"software\\TIRVAN\\kelvo", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    ASSERT_EQ(setDword(key, u"RepeatDelay", 500), ERROR_SUCCESS);
    EXPECT_EQ(readBytes(again, u"repeatdelay"), (std::vector<BYTE>{0xF4, 0x01, 0, 0}));

    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tirvan\\KELVO", 0, KEY_READ, &opened),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Missing", 0, KEY_READ, &opened),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(opened, nullptr);

    // The stored name keeps the case it was created with.
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE", 0, 0, &software), ERROR_SUCCESS);
    WCHAR name[32];
    DWORD length = 32;
    ASSERT_EQ(RegEnumKeyExW(software, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, length), u"Tirvan");
    for (HKEY h : {key, again, software})
        EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
}

TEST(RegistryKeys, LeadingAndRepeatedBackslashesAreIgnored) {
    HKEY owner = createKey(HKEY_CURRENT_USER, u"\\ControlPanel\\Owner");
    const BYTE block[4] = {'J', 0, 0, 0};
    ASSERT_EQ(RegSetValueExW(owner, u"Owner", 0, REG_BINARY, block, 4), ERROR_SUCCESS);
    for (const char16_t* path : {u"ControlPanel\\Owner", u"\\\\ControlPanel\\\\Owner\\"}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, 0, &key), ERROR_SUCCESS);
        EXPECT_EQ(readBytes(key, u"Owner"), (std::vector<BYTE>{'J', 0, 0, 0}));
        RegCloseKey(key);
    }
    // An empty path opens the key itself.
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExW(owner, u"", 0, 0, &same), ERROR_SUCCESS);
    EXPECT_TRUE(readBytes(same, u"OWNER").has_value());
}

TEST(RegistryKeys, InvalidNamesAreRefused) {
    HKEY key = nullptr;
    std::u16string tooLong(256, u'k');
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, tooLong.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                              nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"a\nb", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"x", 0, nullptr, 0, 0, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    HKEY good = createKey(HKEY_CURRENT_USER, std::u16string(255, u'k').c_str());
    DWORD value = 1;
    EXPECT_EQ(RegSetValueExW(good, u"tab\tname", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(good, u"n", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST(RegistryValues, BytesTypesAndNamesAreKeptExactly) {
    HKEY key = createKey(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo");
    // A string written without its terminator reads back with the same size.
    ASSERT_EQ(
        RegSetValueExW(key, u"CurSkin", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"Kelvo"), 10),
        ERROR_SUCCESS);
    DWORD type = 0;
    auto skin = readBytes(key, u"curskin", &type);
    ASSERT_TRUE(skin.has_value());
    EXPECT_EQ(skin->size(), 10u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Writing under another case replaces the data and keeps the first spelling.
    ASSERT_EQ(
        RegSetValueExW(key, u"CURSKIN", 0, REG_BINARY, reinterpret_cast<const BYTE*>("ab"), 2),
        ERROR_SUCCESS);
    WCHAR name[16];
    DWORD nameLength = 16;
    BYTE data[8];
    DWORD dataSize = 8;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, &type, data, &dataSize),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, nameLength), u"CurSkin");
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(dataSize, 2u);
    // An empty and a null name are both the default value; an empty value has no bytes.
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    auto fallback = readBytes(key, u"", &type);
    ASSERT_TRUE(fallback.has_value());
    EXPECT_TRUE(fallback->empty());
    EXPECT_EQ(RegDeleteValueW(key, u""), ERROR_SUCCESS);
    EXPECT_FALSE(readBytes(key, nullptr).has_value());
    EXPECT_EQ(RegDeleteValueW(key, u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
}

TEST(RegistryValues, SmallBufferGetsMoreDataAndTheSizeWithoutOverrun) {
    HKEY key = createKey(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo");
    const BYTE twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ASSERT_EQ(RegSetValueExW(key, u"RepeatDelay", 0, REG_BINARY, twelve, 12), ERROR_SUCCESS);

    // A 4-byte read (as the settings loader does) with guard bytes after it.
    BYTE buffer[4 + 8];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    DWORD size = 4;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"RepeatDelay", nullptr, &type, buffer, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    for (BYTE b : buffer)
        EXPECT_EQ(b, 0xEE);

    // A null buffer asks for the size; an exact buffer is filled.
    size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"RepeatDelay", nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 12u);
    BYTE exact[12 + 4];
    std::fill(std::begin(exact), std::end(exact), 0xEE);
    size = 12;
    EXPECT_EQ(RegQueryValueExW(key, u"RepeatDelay", nullptr, nullptr, exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(exact, exact + 12), std::vector<BYTE>(twelve, twelve + 12));
    EXPECT_EQ(exact[12], 0xEE);
    EXPECT_EQ(RegQueryValueExW(key, u"RepeatDelay", nullptr, nullptr, exact, nullptr),
              ERROR_INVALID_PARAMETER);

    // Enumeration follows the same rules, and refuses a name buffer that is too small.
    WCHAR name[4];
    DWORD nameLength = 4;
    size = 4;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, buffer, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(buffer[0], 0xEE);
    nameLength = 16;
    WCHAR longName[16];
    EXPECT_EQ(RegEnumValueW(key, 0, longName, &nameLength, nullptr, nullptr, buffer, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    for (BYTE b : buffer)
        EXPECT_EQ(b, 0xEE);
}

TEST(RegistryKeys, DeleteRemovesTheKeyWithAllItsSubkeys) {
    const char16_t* clsid = u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}";
    HKEY server = createKey(HKEY_CLASSES_ROOT,
                            u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}\\InprocServer32");
    createKey(HKEY_CLASSES_ROOT,
              u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}\\IsSIPInputMethod");
    HKEY other = createKey(HKEY_CLASSES_ROOT, u"CLSID\\{00000000-0000-0000-0000-000000000001}");
    ASSERT_EQ(
        RegSetValueExW(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(u"K.dll"), 12),
        ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, clsid), ERROR_SUCCESS);
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, clsid, 0, 0, &probe), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT,
                            u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}\\InprocServer32", 0, 0,
                            &probe),
              ERROR_FILE_NOT_FOUND);
    // A handle still open on a deleted subkey says so; closing it is still fine.
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(server, nullptr, nullptr, nullptr, nullptr, &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(setDword(server, u"x", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(server), ERROR_SUCCESS);
    // Its sibling and parent stay.
    EXPECT_EQ(setDword(other, u"x", 1), ERROR_SUCCESS);
    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, 0, &parent), ERROR_SUCCESS);
    DWORD subKeys = 0;
    ASSERT_EQ(RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u);

    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, clsid), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, u""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(RegistryKeys, ClosedAndGarbageHandlesAreRefused) {
    HKEY key = createKey(HKEY_LOCAL_MACHINE, u"Drivers");
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setDword(key, u"x", 1), ERROR_INVALID_HANDLE);
    HKEY garbage = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0xDEADBEEF));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(garbage, u"x", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    HKEY result = nullptr;
    EXPECT_EQ(RegOpenKeyExW(nullptr, u"x", 0, 0, &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCreateKeyExW(garbage, u"x", 0, nullptr, 0, 0, nullptr, &result, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(garbage), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST(RegistryKeys, EnumerationAndInfoDescribeTheKey) {
    HKEY key = createKey(HKEY_CURRENT_USER, u"Apps");
    createKey(key, u"Notes");
    createKey(key, u"Calculator");
    setDword(key, u"A", 1);
    ASSERT_EQ(RegSetValueExW(key, u"LongerName", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>("0123456789"), 10),
              ERROR_SUCCESS);
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                               &values, &maxName, &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxSubKey, 10u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 10u);
    EXPECT_EQ(maxData, 10u);

    std::vector<std::u16string> names;
    WCHAR name[16];
    for (DWORD i = 0;; ++i) {
        DWORD length = 16;
        LONG status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        names.emplace_back(name, length);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Notes", u"Calculator"}));
    DWORD small = 5;
    std::fill(std::begin(name), std::end(name), u'#');
    EXPECT_EQ(RegEnumKeyExW(key, 1, name, &small, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(name[0], u'#');
}

TEST(RegistryKeys, ThreadsShareOneTree) {
    constexpr int kThreads = 4;
    constexpr int kValues = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kValues; ++i) {
                HKEY key = nullptr;
                std::u16string path =
                    u"Shared\\T" + std::u16string(1, static_cast<char16_t>(u'0' + t));
                RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                                nullptr);
                std::u16string name = u"V" +
                                      std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                      std::u16string(1, static_cast<char16_t>(u'a' + i / 26));
                DWORD value = static_cast<DWORD>(i);
                RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
                RegCloseKey(key);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t) {
        HKEY key = nullptr;
        std::u16string path = u"Shared\\T" + std::u16string(1, static_cast<char16_t>(u'0' + t));
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, 0, &key), ERROR_SUCCESS);
        DWORD values = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(values, static_cast<DWORD>(kValues));
    }
}
