// While SDL's video starts, the host's X11 input-method support connects to D-Bus, and libdbus
// keeps a block from then on for the process's life where the leak checker of a sanitized
// build cannot see it. What the host's libraries allocate in that scope is theirs, not the
// emulator's: leak checking is off on this thread for the scope, nothing else.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

using HostLibraryStartup = __lsan::ScopedDisabler;
#else
// Without the leak checker there is nothing to switch off.
struct HostLibraryStartup {};
#endif
