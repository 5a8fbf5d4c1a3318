// The entry that picks a decoder by the picture's signature, and the size limits they share.
#include <cstring>

#include "imaging/Dib.h"
#include "imaging/Picture.h"

namespace platform {

bool pictureSizeAllowed(uint64_t width, uint64_t height) {
    if (width == 0 || height == 0)
        return false;
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        return false;
    return width * height * 4 <= kMaxPictureBytes;
}

std::optional<Picture> decodePicture(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4)
        return std::nullopt;
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0)
        return decodePng(data, size);
    if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return decodeJpeg(data, size);
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) {
        return decodeGif(data, size);
    }
    if (data[0] == 'B' && data[1] == 'M')
        return decodeBmpFile(data, size);
    if (looksLikeDib(data, size))
        return decodeDib(data, size, DibAlpha::Ignore);
    return std::nullopt;
}

}  // namespace platform
