// Icon calls: loading from a module's icon group, building from bitmaps, drawing, destroying.
#include <wingdi.h>
#include <winicon.h>
#include <winresource.h>

#include <algorithm>

#include "gdi/BitmapPixels.h"
#include "gdi/IconTable.h"
#include "imaging/DrawScaled.h"
#include "imaging/Picture.h"
#include "resources/IconResource.h"

using namespace platform;

namespace {

// The icon image `id` of the module, as an icon of its own size.
std::optional<IconPixels> iconImageOf(HINSTANCE instance, WORD id) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_ICON);
    if (found == nullptr)
        return std::nullopt;
    auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    return decodeIconImage(bytes, SizeofResource(instance, found));
}

}  // namespace

namespace platform {

HICON loadIconResource(HINSTANCE instance, LPCWSTR name, int cx, int cy, IconSize size) {
    // A zero side means the image's own size; anything asked for must be a sane picture.
    if (instance == nullptr || cx < 0 || cy < 0 ||
        !pictureSizeAllowed(std::max(cx, 1), std::max(cy, 1)))
        return nullptr;
    HRSRC group = FindResourceW(instance, name, RT_GROUP_ICON);
    if (group == nullptr)
        return nullptr;
    auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, group)));
    const int wantX = cx == 0 ? KELVO_DEFAULT_ICON_SIZE : cx;
    const int wantY = cy == 0 ? KELVO_DEFAULT_ICON_SIZE : cy;
    auto id = chooseIconImage(bytes, SizeofResource(instance, group), wantX, wantY);
    if (!id)
        return nullptr;
    auto image = iconImageOf(instance, *id);
    if (!image)
        return nullptr;
    if (size == IconSize::Requested && (cx != 0 || cy != 0)) {
        // A zero side follows the image's own proportion for that side.
        *image = resizedIcon(*image, cx != 0 ? cx : image->width, cy != 0 ? cy : image->height);
    }
    return addIcon(std::move(*image));
}

}  // namespace platform

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return loadIconResource(instance, name, KELVO_DEFAULT_ICON_SIZE, KELVO_DEFAULT_ICON_SIZE,
                            IconSize::Own);
}

HICON CreateIconIndirect(PICONINFO iconInfo) {
    if (iconInfo == nullptr || iconInfo->hbmColor == nullptr || iconInfo->hbmMask == nullptr) {
        return nullptr;
    }
    auto colour = readBitmapPixels(iconInfo->hbmColor);
    auto mask = readBitmapPixels(iconInfo->hbmMask);
    if (!colour || !mask || colour->width != mask->width || colour->height != mask->height) {
        return nullptr;
    }
    IconPixels icon{colour->width, colour->height, std::move(colour->xrgb)};
    for (size_t i = 0; i < icon.argb.size(); ++i) {
        if (mask->xrgb[i] != 0x00FFFFFFu)
            icon.argb[i] |= 0xFF000000u;
    }
    return addIcon(std::move(icon));
}

BOOL DestroyIcon(HICON icon) {
    return removeIcon(icon) ? TRUE : FALSE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH hbrFlickerFreeDraw,
                UINT diFlags) {
    auto pixels = findIcon(icon);
    if (pixels == nullptr || cx < 0 || cy < 0 || (diFlags & DI_NORMAL) == 0)
        return FALSE;
    const int defaultSize = KELVO_DEFAULT_ICON_SIZE;
    const int width = cx != 0 ? cx : ((diFlags & DI_DEFAULTSIZE) ? defaultSize : pixels->width);
    const int height = cy != 0 ? cy : ((diFlags & DI_DEFAULTSIZE) ? defaultSize : pixels->height);
    const std::optional<RECT> target = rectAt(x, y, width, height);
    if (!target)
        return FALSE;
    if (hbrFlickerFreeDraw != nullptr) {
        RECT area = *target;
        if (FillRect(hdc, &area, hbrFlickerFreeDraw) == 0)
            return FALSE;
    }
    // DI_IMAGE alone draws the colours without transparency; DI_MASK alone draws the AND
    // mask's effect, black where the icon is opaque.
    const uint32_t flags = diFlags & DI_NORMAL;
    std::vector<uint32_t> changed;
    const uint32_t* source = pixels->argb.data();
    if (flags != DI_NORMAL) {
        changed = pixels->argb;
        for (uint32_t& p : changed) {
            p = flags == DI_IMAGE ? (p | 0xFF000000u) : (p & 0xFF000000u);
        }
        source = changed.data();
    }
    PixelBlock block{source, pixels->width, pixels->height};
    RECT whole{0, 0, pixels->width, pixels->height};
    return drawScaled(hdc, block, whole, *target) ? TRUE : FALSE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL GetIconInfo(HICON icon, PICONINFO iconInfo) {
    auto pixels = findIcon(icon);
    if (pixels == nullptr || iconInfo == nullptr)
        return FALSE;
    const int width = pixels->width;
    const int height = pixels->height;
    // Monochrome rows are padded to 16 bits; a set bit is a white (transparent) mask pixel.
    const size_t maskRow = (static_cast<size_t>(width) + 15) / 16 * 2;
    std::vector<uint8_t> maskBits(maskRow * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels->argb[static_cast<size_t>(y) * width + x] >> 24) < 0x80) {
                maskBits[y * maskRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    HBITMAP colour = CreateBitmap(width, height, 1, 32, pixels->argb.data());
    HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
    if (colour == nullptr || mask == nullptr) {
        if (colour != nullptr)
            DeleteObject(colour);
        if (mask != nullptr)
            DeleteObject(mask);
        return FALSE;
    }
    iconInfo->fIcon = TRUE;
    iconInfo->xHotspot = static_cast<DWORD>(width / 2);
    iconInfo->yHotspot = static_cast<DWORD>(height / 2);
    iconInfo->hbmMask = mask;
    iconInfo->hbmColor = colour;
    return TRUE;
}
