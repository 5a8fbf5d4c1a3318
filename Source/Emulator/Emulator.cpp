// One running device.
#include "Emulator.h"

#include <device/Clock.h>
#include <device/Display.h>
#include <device/EventLog.h>
#include <device/FileSystem.h>
#include <device/Input.h>
#include <device/Programs.h>
#include <device/RegistryFile.h>
#include <device/Scheduler.h>
#include <device/Screen.h>
#include <objbase.h>
#include <windows.h>

#include <future>

#include "frontend/HardwareKeys.h"
#include "programs/DevicePrograms.h"
#include "shell/Shell.h"

namespace {

// How long the device may take to become idle, to start, or to close its programs (real time).
constexpr unsigned kSettleMs = 10000;
constexpr unsigned kCloseMs = 5000;

BOOL CALLBACK collectTopLevel(HWND window, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

}  // namespace

ProvisionSources builtProvisionSources() {
    ProvisionSources sources;
    sources.kelvoLibrary = KVEMU_KELVO_LIBRARY;
    sources.helperProgram = KVEMU_KVHELPER_PROGRAM;
    sources.skinFile = std::filesystem::path(KVEMU_SKIN_FOLDER) / "Kelvo.ksk";
    sources.skinHelpFile = std::filesystem::path(KVEMU_SKIN_FOLDER) / "Kelvo.htm";
    return sources;
}

struct Emulator::ShellStart {
    std::promise<std::string> result;  // empty: started
};

Emulator::Emulator(Reporter reporter) : m_reporter(std::move(reporter)) {}

Emulator::~Emulator() {
    close();
}

void Emulator::report(std::string message) {
    if (m_reporter)
        m_reporter(message);
    std::lock_guard lock(m_warningsMutex);
    m_warnings.push_back(std::move(message));
}

std::vector<std::string> Emulator::warnings() const {
    std::lock_guard lock(m_warningsMutex);
    return m_warnings;
}

bool Emulator::open(const Options& options, const ProvisionSources& sources, std::string& error) {
    device::enrolCurrentThread();
    if (options.clock == ClockKind::Virtual)
        device::useVirtualClock(0);
    else
        device::useRealClock();
    if (!device::setScreenSize(options.screenWidth, options.screenHeight)) {
        error = "the screen size is not possible";
        return false;
    }

    m_folder.emplace(options.deviceFolder);
    if (!m_folder->claim(error))
        return false;
    if (options.reset) {
        if (!m_folder->erase(error))
            return false;
        report("--reset: erased the device in " + m_folder->folder().string() +
               " (its files, registry, event log and screenshots); it starts afresh");
    }
    if (!m_folder->create(error))
        return false;
    device::setDeviceRoot(m_folder->root());
    if (!device::appendEventLogTo(
            options.logFile.empty() ? m_folder->eventLogFile() : options.logFile, error))
        return false;
    m_filesAttached = true;
    std::error_code ignored;
    const RegistryStart registryStart = std::filesystem::exists(m_folder->registryFile(), ignored)
                                            ? RegistryStart::FromFile
                                            : RegistryStart::Empty;
    if (auto attached = device::attachRegistryFile(m_folder->registryFile()); !attached) {
        error = "the device's registry cannot be used: " + attached.message;
        return false;
    }
    // A save that fails is told at once; the change stays in memory, goes with the next
    // change's save, and is tried again at close.
    device::watchRegistrySaves([this](const device::RegistryFileResult& status) {
        report(status ? "the device's registry is saved again"
                      : "cannot save the device's registry (the change is kept in memory and "
                        "saved with the next one, or at exit): " +
                            status.message);
    });
    // Every start brings the folder up to this build, adding only what is missing.
    ProvisionRecord record = m_folder->provisionRecord();
    record.load();
    ProvisionResult provisioned = provisionDevice(sources, record, registryStart);
    for (auto& message : provisioned.messages)
        report(message);
    std::string recordError;
    if (!record.save(recordError))
        report("cannot record the device's provisioning: " + recordError);
    if (!provisioned.ok) {
        error = "provisioning the device folder failed: " + provisioned.error;
        return false;
    }
    registerDevicePrograms();

    ShellStart start;
    auto started = start.result.get_future();
    m_shellThread = std::thread([this, &start] { shellThreadMain(start); });
    std::string failure = started.get();
    if (!failure.empty()) {
        m_shellThread.join();
        error = failure;
        return false;
    }
    if (!startStartupProgram())
        report("cannot start Notes");
    if (!settle())
        report("the device did not settle after starting");
    return true;
}

void Emulator::shellThreadMain(ShellStart& start) {
    device::enrolCurrentThread();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        Shell shell;
        std::string error, warning;
        if (!shell.start(error, warning)) {
            start.result.set_value(error.empty() ? "the shell did not start" : error);
        } else {
            if (!warning.empty())
                report(warning);
            {
                std::lock_guard lock(m_shellMutex);
                m_shell = &shell;
            }
            start.result.set_value(std::string());
            MSG msg{};
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                platform::handleMessage(msg);
            }
            std::lock_guard lock(m_shellMutex);
            m_shell = nullptr;
        }
    }
    CoUninitialize();
    device::leaveCurrentThread();
}

bool Emulator::close() {
    if (m_shellThread.joinable()) {
        // The programs first: each top-level window that is not the shell's is asked to close.
        std::vector<HWND> windows;
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&windows));
        DWORD shellThread = 0;
        withShell([&](Shell&) { shellThread = GetCurrentThreadId(); });
        for (HWND window : windows) {
            if (GetWindowThreadProcessId(window, nullptr) != shellThread)
                PostMessageW(window, WM_CLOSE, 0, 0);
        }
        settle();
        m_allEnded = device::waitForAllProcesses(kCloseMs);
        if (!m_allEnded)
            report("some programs did not end when asked to close");
        withShell([](Shell&) { PostQuitMessage(0); });
        m_shellThread.join();
    }
    if (m_filesAttached) {
        m_filesAttached = false;
        saveRegistryLastTime();
        if (const std::string failure = device::eventLogFileError(); !failure.empty()) {
            report("some events are missing from the event log: " + failure);
            m_lostWrites = true;
        }
        device::stopAppendingEventLog();
    }
    return m_allEnded;
}

void Emulator::saveRegistryLastTime() {
    device::watchRegistrySaves(nullptr);
    if (!device::attachedRegistryFileStatus()) {
        const device::RegistryFileResult saved = device::saveAttachedRegistryFile();
        if (saved) {
            report("the device's registry is saved after all, with its last changes");
        } else {
            report("the device's registry could not be saved: its last changes are lost: " +
                   saved.message);
            m_lostWrites = true;
        }
    }
    device::detachRegistryFile();
}

bool Emulator::settle() {
    return device::waitForOtherThreadsIdle(kSettleMs);
}

void Emulator::withShell(const std::function<void(Shell&)>& work) {
    Shell* shell = nullptr;
    {
        std::lock_guard lock(m_shellMutex);
        shell = m_shell;
    }
    if (shell == nullptr)
        return;
    shell->call([&] { work(*shell); });
}

void Emulator::hardwareKey(UINT vk, KeyTransition transition, KeyCharacter character) {
    const UINT scan = scanCodeOf(vk);
    if (transition == KeyTransition::Down) {
        m_lastScanCode = scan;
        const bool ownCharacter = character == KeyCharacter::FromKey || keyMakesOwnCharacter(vk);
        device::keyDown(vk, scan, ownCharacter ? 0 : device::kKeyNoCharacter);
    } else {
        device::keyUp(vk, scan);
    }
}

void Emulator::hardwareText(std::u16string_view text) {
    const LPARAM lParam = 1 | static_cast<LPARAM>(m_lastScanCode << 16);
    for (char16_t ch : text)
        device::typeChar(ch, lParam);
}

void Emulator::rotate() {
    withShell([](Shell& shell) { shell.rotate(); });
}

void Emulator::toggleInputPanel() {
    withShell([](Shell& shell) { shell.toggleInputPanel(); });
}

std::filesystem::path Emulator::saveScreenshot() {
    withShell([](Shell& shell) { shell.refreshBars(); });
    settle();
    std::filesystem::path path = m_folder->nextScreenshot();
    return device::saveScreenPng(path) ? path : std::filesystem::path();
}
