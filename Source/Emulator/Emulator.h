// One running device: the screen, the device folder (provisioned on first use), the clock, the
// built-in programs and the shell on a thread of its own. It is what the front ends drive
// (FrontEndControls) and what the headless runner scripts.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Options.h"
#include "device/DeviceFolder.h"
#include "device/Provisioning.h"
#include "frontend/FrontEndControls.h"

class Shell;

// Where a device gets the keyboard library and the default skin it is provisioned with.
ProvisionSources builtProvisionSources();

class Emulator : public FrontEndControls {
public:
    // What the device has to tell its user (a missing skin, a repair made, a save that
    // failed), passed on as it happens, from any device thread.
    using Reporter = std::function<void(const std::string& message)>;

    explicit Emulator(Reporter reporter = nullptr);
    ~Emulator() override;
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // Sets up the device (provisioning its folder, see device/Provisioning.h) and starts the
    // shell. False with a message on failure; warnings (a missing skin, a repair made, no
    // keyboard) are reported and the device runs.
    bool open(const Options& options, const ProvisionSources& sources, std::string& error);
    // Everything reported so far.
    std::vector<std::string> warnings() const;

    // Closes the programs, stops the shell and saves the registry a last time if a save had
    // failed. Called by the destructor if not before. False when some program did not end
    // (its thread still runs: the caller must not tear down the process's globals under it,
    // and leaves with std::_Exit).
    bool close();
    // False when the registry's last changes or some events could not be written to their
    // files (each reported when it failed, and again at close when it stayed so).
    bool keptEverything() const { return !m_lostWrites; }

    // Lets every device thread handle what it has queued; false when some thread stays busy
    // (a program that never waits) for ten seconds.
    bool settle();

    // Runs `work` on the shell's thread (with the shell) and waits for it.
    void withShell(const std::function<void(Shell&)>& work);

    const DeviceFolder& folder() const { return *m_folder; }

    // FrontEndControls.
    void hardwareKey(UINT vk, KeyTransition transition, KeyCharacter character) override;
    void hardwareText(std::u16string_view text) override;
    void rotate() override;
    void toggleInputPanel() override;
    std::filesystem::path saveScreenshot() override;

private:
    struct ShellStart;
    void shellThreadMain(ShellStart& start);
    void report(std::string message);
    void saveRegistryLastTime();

    std::optional<DeviceFolder> m_folder;
    Reporter m_reporter;
    mutable std::mutex m_warningsMutex;
    std::vector<std::string> m_warnings;
    bool m_filesAttached = false;  // the event log and registry files, until close
    bool m_lostWrites = false;
    std::thread m_shellThread;
    std::mutex m_shellMutex;
    Shell* m_shell = nullptr;  // lives on the shell's thread while it runs
    UINT m_lastScanCode = 0;
    bool m_allEnded = true;
};
