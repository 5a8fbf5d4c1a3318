// Fuzz target: the dialog template reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include <device/Resources.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::parseDialogTemplate(data, size);
    return 0;
}
