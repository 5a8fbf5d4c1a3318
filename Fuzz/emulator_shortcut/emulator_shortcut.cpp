// Fuzz target: shortcut files as the shell reads them (for the Today screen, the launcher and
// ShellExecuteEx), and class identifier texts as the input panel host reads them from the
// registry.
#include <wchar16.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kernel/CommandLine.h"
#include "shell/ShortcutFile.h"
#include "sip/InputMethodCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto target = platform::parseShortcut(bytes)) {
        // A target read back is what writing it gives.
        if (platform::parseShortcut(platform::shortcutText(*target)) != target)
            __builtin_trap();
        // The shell splits a target into its program and arguments: both come from the text.
        auto [program, arguments] = platform::splitCommandLine(*target);
        if (program.size() + arguments.size() > target->size())
            __builtin_trap();
    }
    std::u16string text = platform::fromUtf8(bytes);
    if (auto clsid = parseClsid(text)) {
        if (!(parseClsid(clsidText(*clsid)).value() == *clsid))
            __builtin_trap();
    }
    return 0;
}
