// Fuzz target: the JPEG decoder on arbitrary bytes, directly and through the signature dispatch.
#include <cstddef>
#include <cstdint>

#include "imaging/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::decodeJpeg(data, size);
    platform::decodePicture(data, size);
    return 0;
}
