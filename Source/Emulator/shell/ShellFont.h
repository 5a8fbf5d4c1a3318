// The font the shell draws its bars and the Today screen with, owned by the window using it.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

enum class FontWeight { Normal, Bold };

inline FontHandle makeShellFont(int height, FontWeight weight) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL;
    const char16_t face[] = u"Tahoma";
    for (size_t i = 0; i < sizeof(face) / sizeof(face[0]); ++i)
        font.lfFaceName[i] = face[i];
    return FontHandle(CreateFontIndirectW(&font));
}
