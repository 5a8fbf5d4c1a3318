// Fuzz target: the BMP file and bare DIB readers on arbitrary bytes, with either meaning of a
// 32-bit DIB's fourth byte.
#include <cstddef>
#include <cstdint>

#include "imaging/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::decodeBmpFile(data, size);
    platform::decodeDib(data, size, platform::DibAlpha::Ignore);
    platform::decodeDib(data, size, platform::DibAlpha::UseIfPresent);
    platform::decodePicture(data, size);
    return 0;
}
