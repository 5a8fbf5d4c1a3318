// A real kvemu killed in the middle of saving its registry, again and again: every start after a
// kill reads a whole registry file with the values saved before it, and leaves no temporary
// file behind.
#include <device/AtomicFile.h>
#include <device/RegistryFile.h>
#include <gmock/gmock.h>
#include <poll.h>
#include <sys/inotify.h>
#include <windows.h>

#include <random>

#include "KvemuRun.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;

constexpr int kRounds = 12;
// Recording a key sequence into macro 1 on the macros face (layout 12: the record key at row 0
// column 2, macro 1 at row 0 column 0) and typing one key: the end of the recording saves the
// twenty macros, forty registry saves.
constexpr const char* kRecordingCycle =
    "layout 12\npresskey 0 2\npresskey 0 0\npresskey 0 0\nlayout 12\npresskey 0 2\n";
constexpr int kCycles = 4;

// The registry values the test relies on, read from a device's registry file: empty when the
// file cannot be read whole.
struct SavedValues {
    bool whole = false;
    std::optional<DWORD> repeatDelay;
    std::u16string firstMacroName;
    bool keyboardRegistered = false;
};

SavedValues readSavedValues(const std::filesystem::path& file) {
    SavedValues values;
    device::RegistryFileResult loaded = device::loadRegistryFile(file);
    values.whole = static_cast<bool>(loaded);
    EXPECT_TRUE(loaded) << loaded.message;
    HKEY key = nullptr;
    if (values.whole &&
        RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, 0, &key) == ERROR_SUCCESS) {
        DWORD delay = 0, size = sizeof(delay);
        if (RegQueryValueExW(key, u"RepeatDelay", nullptr, nullptr, reinterpret_cast<BYTE*>(&delay),
                             &size) == ERROR_SUCCESS)
            values.repeatDelay = delay;
        WCHAR name[64] = {};
        size = sizeof(name) - sizeof(WCHAR);
        if (RegQueryValueExW(key, u"MacroName0", nullptr, nullptr, reinterpret_cast<BYTE*>(name),
                             &size) == ERROR_SUCCESS)
            values.firstMacroName.assign(name, size / sizeof(WCHAR));
        RegCloseKey(key);
    }
    HKEY server = nullptr;
    values.keyboardRegistered =
        RegOpenKeyExW(HKEY_CLASSES_ROOT,
                      u"CLSID\\{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}\\InProcServer32", 0, 0,
                      &server) == ERROR_SUCCESS;
    if (server != nullptr)
        RegCloseKey(server);
    device::resetRegistry();
    return values;
}

using RegistryKill = KvemuTest;

TEST_F(RegistryKill, EveryStartAfterAKillMidSaveReadsAWholeFileWithTheEarlierValues) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    ASSERT_NE(farsi.at(0, 0), nullptr);
    const std::string firstKey = typedText(*farsi.at(0, 0));
    const std::filesystem::path registry = device() / "registry.reg";
    const std::filesystem::path temporary = device::replacementTemporaryOf(registry);

    // Values saved before any kill: a setting of the user's and a recorded macro.
    ASSERT_EQ(run(std::string(kRecordingCycle) + "print-text\n").status, 0);
    ASSERT_TRUE(device::loadRegistryFile(registry));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, 0, &key),
              ERROR_SUCCESS);
    const DWORD delay = 250;
    RegSetValueExW(key, u"RepeatDelay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&delay), 4);
    RegCloseKey(key);
    ASSERT_TRUE(device::saveRegistryFile(registry));
    device::resetRegistry();
    const SavedValues before = readSavedValues(registry);
    ASSERT_EQ(before.firstMacroName, u"Key Seq. 1");

    std::string script;
    for (int i = 0; i < kCycles; ++i)
        script += kRecordingCycle;
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> whichSave(1, kCycles * 40);
    int killedMidSave = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(inotify, 0);
        ASSERT_GE(::inotify_add_watch(inotify, device().c_str(), IN_CREATE), 0);
        KvemuProcess kvemu(device(), file("kill-out"), file("kill-errors"));
        kvemu.send(script);
        kvemu.closeInput();
        // Stopped the moment its chosen save creates the temporary file, then killed.
        const int target = whichSave(random);
        int saves = 0;
        bool stopped = false;
        while (!stopped && !kvemu.ended()) {
            pollfd ready{inotify, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0)
                continue;
            alignas(inotify_event) char events[4096];
            const ssize_t length = ::read(inotify, events, sizeof(events));
            for (ssize_t at = 0; at < length && !stopped;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->len > 0 && temporary.filename() == event->name && ++saves == target) {
                    ::kill(kvemu.pid(), SIGSTOP);
                    stopped = true;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        ::close(inotify);
        if (stopped && std::filesystem::exists(temporary))
            ++killedMidSave;
        kvemu.kill();

        // What the kill left: the last whole file, with everything saved before.
        const SavedValues after = readSavedValues(registry);
        ASSERT_TRUE(after.whole);
        EXPECT_EQ(after.repeatDelay, before.repeatDelay);
        EXPECT_EQ(after.firstMacroName, before.firstMacroName);
        EXPECT_TRUE(after.keyboardRegistered);

        // The next start reads it, clears the temporary file away and works.
        KvemuResult next = run("presskey 0 0\nprint-text\n");
        ASSERT_EQ(next.status, 0) << next.errors;
        EXPECT_EQ(next.lines().at(0), firstKey);
        EXPECT_FALSE(std::filesystem::exists(temporary));
    }
    // Most kills land while a save is under way (its temporary file written, not yet renamed).
    EXPECT_GT(killedMidSave, 0);
    std::cout << killedMidSave << " of " << kRounds << " kills left a save cut short\n";
}

}  // namespace
