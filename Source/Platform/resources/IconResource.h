// Reading icon resources: choosing an image from an icon group directory (RT_GROUP_ICON) and
// decoding one icon image (RT_ICON: a DIB with its AND mask, or a PNG).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <windef.h>

#include "gdi/IconTable.h"

namespace platform {

// The RT_ICON id of the group's image nearest in size to cx × cy (ties go to the larger
// image, then to more colours); none when the directory is malformed or empty.
std::optional<WORD> chooseIconImage(const uint8_t* group, size_t size, int cx, int cy);

// One icon image; none when malformed.
std::optional<IconPixels> decodeIconImage(const uint8_t* data, size_t size);

enum class IconSize { Own, Requested };

// An icon from group resource `name`: the image nearest to cx × cy (the default size for a
// zero side), kept at its own size or scaled to the requested one. Null when the module has
// no such group or its image is malformed.
HICON loadIconResource(HINSTANCE instance, LPCWSTR name, int cx, int cy, IconSize size);

}  // namespace platform
