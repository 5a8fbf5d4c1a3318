// A device library holding one global counter.
#include <winbase.h>

namespace {
int g_counter = 0;
}

extern "C" int CounterIncrement() {
    return ++g_counter;
}

extern "C" DWORD CounterCallerProcess() {
    return GetCurrentProcessId();
}
