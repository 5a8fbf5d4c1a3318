// Fuzz target: icon resources on arbitrary bytes, read both as an icon group directory and as
// one icon image (a DIB with its AND mask, or a PNG).
#include <cstddef>
#include <cstdint>

#include "resources/IconResource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::chooseIconImage(data, size, 32, 32);
    platform::decodeIconImage(data, size);
    return 0;
}
