// A device library holding one global counter.
#include <winbase.h>

#include <string_view>

namespace {
int g_counter = 0;
}

extern "C" int CounterIncrement() {
    return ++g_counter;
}

extern "C" DWORD CounterCallerProcess() {
    return GetCurrentProcessId();
}

// Counts attach calls; a copy installed under a name starting "Refuse" refuses to attach
// (which also shows that the instance handle is usable inside DllMain).
namespace {
int g_attaches = 0;
}

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR path[MAX_PATH] = {};
        GetModuleFileNameW(instance, path, MAX_PATH);
        if (std::u16string_view(path).starts_with(u"\\Windows\\Refuse"))
            return FALSE;
        ++g_attaches;
    }
    return TRUE;
}

extern "C" int CounterAttaches() {
    return g_attaches;
}
