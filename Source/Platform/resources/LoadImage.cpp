// LoadBitmapW and LoadImageW: bitmap resources become 32-bit bitmaps, icon groups icons.
#include <wingdi.h>
#include <winicon.h>
#include <winresource.h>

#include "imaging/Dib.h"
#include "resources/IconResource.h"

using namespace platform;

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (instance == nullptr)
        return nullptr;  // the system's own bitmaps are not provided
    HRSRC found = FindResourceW(instance, name, RT_BITMAP);
    if (found == nullptr)
        return nullptr;
    auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    auto picture = decodeDib(bytes, SizeofResource(instance, found), DibAlpha::Ignore);
    if (!picture)
        return nullptr;
    // 32-bit rows of 0x??RRGGBB words are exactly what CreateBitmap takes.
    return CreateBitmap(static_cast<int>(picture->width), static_cast<int>(picture->height), 1, 32,
                        picture->pixels.data());
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    if ((flags & LR_LOADFROMFILE) != 0)
        return nullptr;  // files go through the imaging factory
    switch (type) {
        case IMAGE_BITMAP:
            return LoadBitmapW(instance, name);
        case IMAGE_ICON: {
            const bool defaultSize = (flags & LR_DEFAULTSIZE) != 0;
            if (cx == 0 && defaultSize)
                cx = KELVO_DEFAULT_ICON_SIZE;
            if (cy == 0 && defaultSize)
                cy = KELVO_DEFAULT_ICON_SIZE;
            // Without a size asked for, the image keeps the size it was drawn at.
            IconSize size = (cx == 0 && cy == 0) ? IconSize::Own : IconSize::Requested;
            return loadIconResource(instance, name, cx, cy, size);
        }
        default:
            return nullptr;
    }
}
