// LoadLibraryW and friends. Each process loads its own copy of a device library: the shared
// object is copied to a private file first, so the host's loader maps it afresh with separate
// globals, while its references to the platform resolve to the one platform every process
// shares.
#include "kernel/Module.h"

#include <device/EventLog.h>
#include <device/FileSystem.h>

#include <dlfcn.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <list>
#include <set>

#include <wchar16.h>
#include "kernel/DevicePath.h"
#include "kernel/DeviceReset.h"
#include "kernel/Process.h"

namespace platform {

namespace {

struct ModuleTable {
    std::mutex mutex;
    std::set<Module*> live;
    std::list<BuiltinLibrary> builtins;  // modules point at their entry: never moved
    std::filesystem::path copyFolder;
    std::atomic<unsigned> copies{0};

    ~ModuleTable() {
        std::error_code ignored;
        if (!copyFolder.empty())
            std::filesystem::remove_all(copyFolder, ignored);
    }
};

ModuleTable& moduleTable() {
    static ModuleTable table;
    return table;
}

// "Kelvo.dll" → "\Windows\Kelvo.dll"; paths are kept as given.
std::u16string libraryDevicePath(std::u16string_view name) {
    if (name.find(u'\\') == std::u16string_view::npos &&
        name.find(u'/') == std::u16string_view::npos) {
        return u"\\Windows\\" + std::u16string(name);
    }
    return std::u16string(name);
}

std::filesystem::path privateCopyFolder(ModuleTable& table) {
    if (table.copyFolder.empty()) {
        std::error_code ignored;
        table.copyFolder = std::filesystem::temp_directory_path(ignored) /
                           ("kelvo-modules-" + std::to_string(::getpid()));
        std::filesystem::create_directories(table.copyFolder, ignored);
    }
    return table.copyFolder;
}

Module* findLoaded(Process& process, std::u16string_view devicePath) {
    std::lock_guard lock(process.moduleMutex);
    for (Module* module : process.modules) {
        if (sameDeviceName(module->devicePath, devicePath) ||
            sameDeviceName(deviceFileNameOf(module->devicePath), devicePath)) {
            return module;
        }
    }
    return nullptr;
}

void unload(Module* module) {
    {
        auto& table = moduleTable();
        std::lock_guard lock(table.mutex);
        table.live.erase(module);
    }
    if (module->dlHandle && !module->hostCopy.empty()) {
        auto entry = reinterpret_cast<DllMainProc>(::dlsym(module->dlHandle, "DllMain"));
        if (entry && module->attached) {
            entry(reinterpret_cast<HINSTANCE>(module), DLL_PROCESS_DETACH, nullptr);
        }
        ::dlclose(module->dlHandle);
        std::error_code ignored;
        std::filesystem::remove(module->hostCopy, ignored);
    }
    delete module;
}

Module* addModule(Process& process, Module* module) {
    module->owner = &process;
    {
        auto& table = moduleTable();
        std::lock_guard lock(table.mutex);
        table.live.insert(module);
    }
    std::lock_guard lock(process.moduleMutex);
    process.modules.push_back(module);
    return module;
}

// A fresh device's shell has loaded no library: the ones the calling (shell) thread's process
// loaded come down, newest first, as at a process's end; its program module stays.
const bool resetRegistered = addResetStep(ResetStage::Libraries, [] {
    Process& shell = currentProcess();
    std::vector<Module*> libraries;
    {
        std::lock_guard lock(shell.moduleMutex);
        std::erase_if(shell.modules, [&](Module* module) {
            if (module == shell.programModule)
                return false;
            libraries.push_back(module);
            return true;
        });
    }
    std::for_each(libraries.rbegin(), libraries.rend(), unload);
});

}  // namespace

void registerBuiltinLibrary(BuiltinLibrary library) {
    auto& table = moduleTable();
    std::lock_guard lock(table.mutex);
    table.builtins.push_back(std::move(library));
}

Module* moduleOf(HMODULE handle) {
    auto* module = reinterpret_cast<Module*>(handle);
    auto& table = moduleTable();
    std::lock_guard lock(table.mutex);
    return table.live.count(module) ? module : nullptr;
}

void* moduleDlHandle(HINSTANCE instance) {
    Module* module = moduleOf(instance);
    return module ? module->dlHandle : nullptr;
}

Module* createProgramModule(Process& process, std::u16string devicePath, void* dlHandle) {
    auto* module = new Module;
    module->devicePath = std::move(devicePath);
    module->dlHandle = dlHandle;
    return addModule(process, module);
}

void releaseProcessModules(Process& process) {
    std::vector<Module*> modules;
    {
        std::lock_guard lock(process.moduleMutex);
        modules.swap(process.modules);
    }
    // Unload in the reverse order of loading, as a process's libraries come down at its end.
    std::for_each(modules.rbegin(), modules.rend(), unload);
}

}  // namespace platform

using platform::Module;

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (fileName == nullptr || *fileName == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& process = platform::currentProcess();
    std::u16string devicePath = platform::libraryDevicePath(fileName);
    if (Module* loaded = platform::findLoaded(process, devicePath)) {
        ++loaded->references;
        return reinterpret_cast<HMODULE>(loaded);
    }
    auto& table = platform::moduleTable();
    const platform::BuiltinLibrary* builtin = nullptr;
    {
        std::lock_guard lock(table.mutex);
        auto name = platform::deviceFileNameOf(devicePath);
        for (const auto& candidate : table.builtins) {
            if (platform::sameDeviceName(candidate.name, name))
                builtin = &candidate;
        }
    }
    if (builtin != nullptr) {
        auto* module = new Module;
        module->devicePath = u"\\Windows\\" + builtin->name;
        module->builtin = builtin;
        return reinterpret_cast<HMODULE>(platform::addModule(process, module));
    }
    auto host = device::resolveDevicePath(devicePath);
    std::error_code error;
    if (!host || !std::filesystem::is_regular_file(*host, error)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::filesystem::path copy;
    {
        std::lock_guard lock(table.mutex);
        copy = platform::privateCopyFolder(table) /
               (std::to_string(process.id) + "-" + std::to_string(table.copies++) + "-" +
                host->filename().string());
    }
    if (!std::filesystem::copy_file(*host, copy, std::filesystem::copy_options::overwrite_existing,
                                    error)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* handle = ::dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        device::logEvent(u"module", u"cannot load " + devicePath + u": " +
                                        platform::fromUtf8(why ? why : "unknown error"));
        std::filesystem::remove(copy, error);
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    auto* module = new Module;
    module->devicePath = devicePath;
    module->hostCopy = copy;
    module->dlHandle = handle;
    platform::addModule(process, module);
    if (auto entry = reinterpret_cast<DllMainProc>(::dlsym(handle, "DllMain"))) {
        if (!entry(reinterpret_cast<HINSTANCE>(module), DLL_PROCESS_ATTACH, nullptr)) {
            {
                std::lock_guard lock(process.moduleMutex);
                std::erase(process.modules, module);
            }
            platform::unload(module);
            SetLastError(ERROR_DLL_INIT_FAILED);
            return nullptr;
        }
    }
    module->attached = true;
    return reinterpret_cast<HMODULE>(module);
}

BOOL FreeLibrary(HMODULE handle) {
    Module* module = platform::moduleOf(handle);
    if (module == nullptr || (module->hostCopy.empty() && module->builtin == nullptr)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--module->references > 0)
        return TRUE;
    if (module->owner) {
        std::lock_guard lock(module->owner->moduleMutex);
        auto& modules = module->owner->modules;
        modules.erase(std::remove(modules.begin(), modules.end(), module), modules.end());
    }
    platform::unload(module);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR procName) {
    Module* module = platform::moduleOf(handle);
    if (module == nullptr || procName == nullptr) {
        SetLastError(module ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (module->builtin) {
        auto found = module->builtin->exports.find(procName);
        if (found != module->builtin->exports.end())
            return found->second;
    } else if (module->dlHandle) {
        if (void* symbol = ::dlsym(module->dlHandle, procName)) {
            return reinterpret_cast<FARPROC>(symbol);
        }
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    if (procName == nullptr)
        return GetProcAddress(module, nullptr);
    return GetProcAddress(module, platform::toUtf8(procName).c_str());
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    auto& process = platform::currentProcess();
    if (moduleName == nullptr)
        return reinterpret_cast<HMODULE>(process.programModule);
    Module* module = platform::findLoaded(process, platform::libraryDevicePath(moduleName));
    if (module == nullptr)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return reinterpret_cast<HMODULE>(module);
}

DWORD GetModuleFileNameW(HMODULE handle, LPWSTR fileName, DWORD size) {
    Module* module = handle ? platform::moduleOf(handle) : platform::currentProcess().programModule;
    if (module == nullptr || fileName == nullptr || size == 0) {
        SetLastError(module ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_HANDLE);
        return 0;
    }
    const std::u16string& path = module->devicePath;
    DWORD copied = static_cast<DWORD>(std::min<size_t>(path.size(), size - 1));
    std::copy_n(path.begin(), copied, fileName);
    fileName[copied] = 0;
    if (copied < path.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return copied;
}
