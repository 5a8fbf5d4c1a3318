// Fuzz target: Start-menu shortcut files as the Today screen reads them, and class identifier
// texts as the input panel host reads them from the registry.
#include <wchar16.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/Shortcut.h"
#include "sip/InputMethodCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto target = parseShortcut(bytes)) {
        // A target read back is what writing it gives.
        if (parseShortcut(shortcutText(*target)) != target)
            __builtin_trap();
    }
    std::u16string text = platform::fromUtf8(bytes);
    if (auto clsid = parseClsid(text)) {
        if (!(parseClsid(clsidText(*clsid)).value() == *clsid))
            __builtin_trap();
    }
    return 0;
}
