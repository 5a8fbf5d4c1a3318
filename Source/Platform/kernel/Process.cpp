// Processes and threads: the program table, CreateProcessW starting a program on a thread of
// its own, and the calls that identify, open and wait for processes.
#include "kernel/Process.h"

#include <device/EventLog.h>
#include <device/Programs.h>
#include <device/Reset.h>
#include <device/Scheduler.h>

#include <dlfcn.h>
#include <atomic>
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "kernel/CommandLine.h"
#include "kernel/DevicePath.h"
#include "kernel/DeviceReset.h"
#include "kernel/Module.h"
#include "kernel/SchedulerState.h"

namespace platform {

namespace {

struct ProgramEntry {
    std::u16string name;
    device::WinMainProc entry = nullptr;
    std::u16string libraryPath;
    WORD iconId = 0;
};

struct ProcessTable {
    std::mutex mutex;
    std::map<std::u16string, ProgramEntry> programs;  // by folded name
    std::map<DWORD, std::shared_ptr<Process>> processes;
    std::vector<std::function<void(DWORD)>> exitHooks;
    std::condition_variable allEnded;
    std::set<DWORD> running;  // started and not yet ended
};

ProcessTable& processTable() {
    static ProcessTable* table = new ProcessTable;  // process threads may outlive static exit
    return *table;
}

std::atomic<DWORD> g_nextProcessId{0x1000};
std::atomic<DWORD> g_nextThreadId{0x2000};

thread_local std::shared_ptr<Process> t_process;
thread_local DWORD t_threadId = 0;

std::u16string folded(std::u16string_view name) {
    std::u16string result(name);
    for (auto& c : result)
        c = foldDeviceCase(c);
    return result;
}

std::shared_ptr<Process> shellProcess() {
    static std::shared_ptr<Process> shell = [] {
        auto process = std::make_shared<Process>();
        process->id = g_nextProcessId++;
        process->imagePath = u"\\Windows\\explorer.exe";
        process->programModule =
            createProgramModule(*process, process->imagePath, ::dlopen(nullptr, RTLD_NOW));
        auto& table = processTable();
        std::lock_guard lock(table.mutex);
        table.processes[process->id] = process;
        return process;
    }();
    return shell;
}

// A fresh device knows no programs, and of the processes that ran only the shell remains.
const bool resetRegistered = addResetStep(ResetStage::Device, [] {
    auto shell = shellProcess();
    auto& table = processTable();
    std::lock_guard lock(table.mutex);
    table.programs.clear();
    std::erase_if(table.processes, [&](const auto& entry) { return entry.second != shell; });
});

std::u16string decimal(DWORD value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

const ProgramEntry* findProgram(ProcessTable& table, std::u16string_view application) {
    std::u16string name(deviceFileNameOf(application));
    auto found = table.programs.find(folded(name));
    if (found == table.programs.end() && name.find(u'.') == std::u16string::npos) {
        found = table.programs.find(folded(name + u".exe"));
    }
    return found == table.programs.end() ? nullptr : &found->second;
}

void runProcess(std::shared_ptr<Process> process, std::shared_ptr<Thread> thread,
                ProgramEntry program, std::u16string arguments) {
    adoptReservedEnrolment();
    t_process = process;
    t_threadId = thread->id;
    device::WinMainProc entry = program.entry;
    HINSTANCE instance = nullptr;
    if (!program.libraryPath.empty()) {
        instance = LoadLibraryW(program.libraryPath.c_str());
        entry = instance
                    ? reinterpret_cast<device::WinMainProc>(GetProcAddress(instance, "WinMain"))
                    : nullptr;
        process->programModule = moduleOf(instance);
    } else {
        process->programModule =
            createProgramModule(*process, process->imagePath, ::dlopen(nullptr, RTLD_NOW));
        instance = reinterpret_cast<HINSTANCE>(process->programModule);
    }
    std::vector<WCHAR> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back(0);
    DWORD exitCode = entry ? static_cast<DWORD>(entry(instance, nullptr, commandLine.data(), 1))
                           : static_cast<DWORD>(ERROR_BAD_FORMAT);
    std::u16string started = arguments.empty() ? program.name : program.name + u" " + arguments;
    device::logEvent(u"exit", started + u", code " + decimal(exitCode));
    std::vector<std::function<void(DWORD)>> hooks;
    {
        auto& table = processTable();
        std::lock_guard lock(table.mutex);
        hooks = table.exitHooks;
    }
    for (auto& hook : hooks)
        hook(process->id);
    releaseProcessModules(*process);
    {
        std::lock_guard lock(device::deviceMutex());
        process->exitCode = exitCode;
        process->exited = true;
        thread->exited = true;
    }
    device::notifyWaiters();
    {
        auto& table = processTable();
        std::lock_guard lock(table.mutex);
        table.running.erase(process->id);
    }
    processTable().allEnded.notify_all();
    t_process.reset();
    device::leaveCurrentThread();
}

}  // namespace

Process& currentProcess() {
    if (!t_process)
        t_process = shellProcess();
    return *t_process;
}

std::shared_ptr<Process> findProcess(DWORD processId) {
    shellProcess();
    auto& table = processTable();
    std::lock_guard lock(table.mutex);
    auto found = table.processes.find(processId);
    return found == table.processes.end() ? nullptr : found->second;
}

std::optional<ProgramListing> findProgramListing(std::u16string_view programPath) {
    auto& table = processTable();
    std::lock_guard lock(table.mutex);
    const ProgramEntry* program = findProgram(table, programPath);
    if (program == nullptr)
        return std::nullopt;
    return ProgramListing{program->name, program->libraryPath, program->iconId};
}

HINSTANCE builtinProgramsInstance() {
    return reinterpret_cast<HINSTANCE>(shellProcess()->programModule);
}

void addProcessExitHook(std::function<void(DWORD)> hook) {
    auto& table = processTable();
    std::lock_guard lock(table.mutex);
    table.exitHooks.push_back(std::move(hook));
}

}  // namespace platform

namespace device {

void registerProgram(std::u16string_view name, WinMainProc entry, WORD iconId) {
    auto& table = platform::processTable();
    std::lock_guard lock(table.mutex);
    table.programs[platform::folded(name)] = {std::u16string(name), entry, {}, iconId};
}

WORD programIconId(std::u16string_view programPath) {
    auto program = platform::findProgramListing(programPath);
    return program ? program->iconId : 0;
}

void registerProgramLibrary(std::u16string_view name, std::u16string_view libraryDevicePath) {
    auto& table = platform::processTable();
    std::lock_guard lock(table.mutex);
    table.programs[platform::folded(name)] = {std::u16string(name), nullptr,
                                              std::u16string(libraryDevicePath)};
}

std::u16string processImagePath(DWORD processId) {
    auto process = platform::findProcess(processId);
    return process ? process->imagePath : std::u16string();
}

bool waitForAllProcesses(unsigned timeoutMs) {
    auto& table = platform::processTable();
    std::unique_lock lock(table.mutex);
    return table.allEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return table.running.empty(); });
}

std::vector<std::u16string> runningProcesses() {
    auto& table = platform::processTable();
    std::lock_guard lock(table.mutex);
    std::vector<std::u16string> programs;
    for (DWORD id : table.running)
        programs.push_back(table.processes[id]->imagePath);
    return programs;
}

}  // namespace device

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                    LPPROCESS_INFORMATION processInformation) {
    std::u16string application, arguments;
    if (applicationName != nullptr) {
        application = applicationName;
        if (commandLine != nullptr)
            arguments = commandLine;
    } else if (commandLine != nullptr) {
        std::tie(application, arguments) = platform::splitCommandLine(commandLine);
    }
    auto& table = platform::processTable();
    platform::ProgramEntry program;
    {
        std::lock_guard lock(table.mutex);
        const platform::ProgramEntry* found =
            application.empty() ? nullptr : platform::findProgram(table, application);
        if (found == nullptr) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        program = *found;
    }
    platform::currentProcess();  // the shell exists before anything it starts
    auto process = std::make_shared<platform::Process>();
    process->id = platform::g_nextProcessId++;
    process->imagePath = u"\\Windows\\" + program.name;
    process->commandLine = arguments;
    auto thread = std::make_shared<platform::Thread>();
    thread->id = platform::g_nextThreadId++;
    process->mainThreadId = thread->id;
    {
        std::lock_guard lock(table.mutex);
        table.processes[process->id] = process;
        table.running.insert(process->id);
    }
    device::logEvent(u"process",
                     arguments.empty() ? program.name : program.name + u" " + arguments);
    device::enrolCurrentThread();
    platform::reserveEnrolmentForNewThread();
    if (processInformation != nullptr) {
        processInformation->hProcess = platform::addHandle(process);
        processInformation->hThread = platform::addHandle(thread);
        processInformation->dwProcessId = process->id;
        processInformation->dwThreadId = thread->id;
    }
    std::thread(platform::runProcess, process, thread, std::move(program), std::move(arguments))
        .detach();
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
    auto process = platform::findProcess(processId);
    if (!process) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return platform::addHandle(process);
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    auto object = platform::objectAs<platform::Process>(process);
    if (!object || exitCode == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard lock(device::deviceMutex());
    *exitCode = object->exitCode;
    return TRUE;
}

BOOL TerminateProcess(HANDLE, UINT) {
    // Device processes are threads of the emulator and cannot be stopped from outside; the
    // shell ends programs by closing their windows instead.
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

DWORD GetCurrentProcessId() {
    return platform::currentProcess().id;
}

DWORD GetCurrentThreadId() {
    if (platform::t_threadId == 0)
        platform::t_threadId = platform::g_nextThreadId++;
    return platform::t_threadId;
}

HANDLE GetCurrentProcess() {
    // The pseudo handle that stands for the calling process, as on Windows.
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}
