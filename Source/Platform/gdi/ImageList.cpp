// Image lists. Each list keeps its images as straight-alpha pixels; handles are checked
// against the live lists, so a destroyed or made-up handle is refused.
#include <commctrl.h>
#include <wingdi.h>
#include <winuser.h>

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "gdi/BitmapPixels.h"
#include "gdi/IconTable.h"
#include "gdi/Surface.h"
#include "imaging/DrawScaled.h"
#include "imaging/Picture.h"

using namespace platform;

struct _IMAGELIST {
    int width = 0;
    int height = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    std::vector<std::vector<uint32_t>> images;  // width × height 0xAARRGGBB each

    bool masked() const { return (flags & ILC_MASK) != 0; }
    size_t imagePixels() const { return static_cast<size_t>(width) * height; }
};

namespace {

struct Lists {
    std::mutex mutex;
    std::unordered_map<HIMAGELIST, std::unique_ptr<_IMAGELIST>> live;
};

Lists& lists() {
    static Lists l;
    return l;
}

// Looks up a live list; the caller holds the lists' mutex.
_IMAGELIST* findList(HIMAGELIST himl) {
    auto found = lists().live.find(himl);
    return found == lists().live.end() ? nullptr : found->second.get();
}

// Room for `more` images within the picture size limit.
bool hasRoom(const _IMAGELIST& list, size_t more) {
    uint64_t pixels = uint64_t{list.imagePixels()} * (list.images.size() + more);
    return pixels * 4 <= kMaxPictureBytes;
}

// The colour channels of `top` over `bottom` at `weight` (0 to 255), rounded.
uint32_t mixColours(uint32_t top, uint32_t bottom, uint32_t weight) {
    uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t s = (top >> shift) & 0xFF;
        const uint32_t d = (bottom >> shift) & 0xFF;
        mixed |= ((s * weight + d * (255 - weight) + 127) / 255) << shift;
    }
    return mixed;
}

enum class MaskSource { None, Bitmap, Colour };

// Cuts the bitmap into images of the list's size and appends them.
int addFromBitmap(HIMAGELIST himl, HBITMAP image, MaskSource maskSource, HBITMAP mask,
                  COLORREF maskColour) {
    auto colour = readBitmapPixels(image);
    if (!colour)
        return -1;
    std::optional<BitmapPixels> maskPixels;
    if (maskSource == MaskSource::Bitmap) {
        maskPixels = readBitmapPixels(mask);
        if (!maskPixels)
            maskSource = MaskSource::None;  // as if no mask was given
    }
    const uint32_t maskPixel = pixelFromColorref(maskColour & 0x00FFFFFFu);

    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    if (list == nullptr)
        return -1;
    const int count = colour->width / list->width;
    if (count == 0 || !hasRoom(*list, static_cast<size_t>(count)))
        return -1;
    const int first = static_cast<int>(list->images.size());
    for (int n = 0; n < count; ++n) {
        std::vector<uint32_t> pixels(list->imagePixels(), 0);
        for (int y = 0; y < list->height && y < colour->height; ++y) {
            for (int x = 0; x < list->width; ++x) {
                const int sx = n * list->width + x;
                const uint32_t c = colour->xrgb[static_cast<size_t>(y) * colour->width + sx];
                bool transparent = false;
                if (list->masked()) {
                    if (maskSource == MaskSource::Colour) {
                        transparent = c == maskPixel;
                    } else if (maskSource == MaskSource::Bitmap && sx < maskPixels->width &&
                               y < maskPixels->height) {
                        transparent =
                            maskPixels->xrgb[static_cast<size_t>(y) * maskPixels->width + sx] ==
                            0x00FFFFFFu;
                    }
                }
                pixels[static_cast<size_t>(y) * list->width + x] =
                    transparent ? (c & 0x00FFFFFFu) : (c | 0xFF000000u);
            }
        }
        list->images.push_back(std::move(pixels));
    }
    return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int) {
    if (cx <= 0 || cy <= 0 ||
        !pictureSizeAllowed(static_cast<uint64_t>(cx), static_cast<uint64_t>(cy))) {
        return nullptr;
    }
    auto list = std::make_unique<_IMAGELIST>();
    list->width = cx;
    list->height = cy;
    list->flags = flags;
    if (cInitial > 0 && hasRoom(*list, static_cast<size_t>(cInitial))) {
        list->images.reserve(static_cast<size_t>(cInitial));
    }
    HIMAGELIST handle = list.get();
    std::lock_guard lock(lists().mutex);
    lists().live[handle] = std::move(list);
    return handle;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
    std::lock_guard lock(lists().mutex);
    return lists().live.erase(himl) == 1 ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
    return addFromBitmap(himl, image, mask != nullptr ? MaskSource::Bitmap : MaskSource::None, mask,
                         0);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask) {
    return addFromBitmap(himl, image, MaskSource::Colour, nullptr, mask);
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon) {
    auto pixels = findIcon(icon);
    if (pixels == nullptr)
        return -1;
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    if (list == nullptr || i < -1 || i >= static_cast<int>(list->images.size()))
        return -1;
    IconPixels fitted = resizedIcon(*pixels, list->width, list->height);
    if (!list->masked()) {
        for (uint32_t& p : fitted.argb)
            p |= 0xFF000000u;
    }
    if (i == -1) {
        if (!hasRoom(*list, 1))
            return -1;
        list->images.push_back(std::move(fitted.argb));
        return static_cast<int>(list->images.size()) - 1;
    }
    list->images[static_cast<size_t>(i)] = std::move(fitted.argb);
    return i;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    if (list == nullptr || i < -1 || i >= static_cast<int>(list->images.size()))
        return FALSE;
    if (i == -1) {
        list->images.clear();
    } else {
        list->images.erase(list->images.begin() + i);
    }
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT fStyle) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    COLORREF background = CLR_NONE;
    {
        std::lock_guard lock(lists().mutex);
        _IMAGELIST* list = findList(himl);
        if (list == nullptr || i < 0 || i >= static_cast<int>(list->images.size()))
            return FALSE;
        pixels = list->images[static_cast<size_t>(i)];
        width = list->width;
        height = list->height;
        background = list->background;
    }
    if ((fStyle & ILD_MASK) != 0) {
        for (uint32_t& p : pixels)
            p = (p >> 24) >= 0x80 ? 0xFF000000u : 0xFFFFFFFFu;
    } else if ((fStyle & ILD_IMAGE) != 0) {
        for (uint32_t& p : pixels)
            p |= 0xFF000000u;
    } else if ((fStyle & ILD_TRANSPARENT) == 0 && background != CLR_NONE) {
        // Over the list's background colour: transparent pixels take it.
        const uint32_t under = 0xFF000000u | pixelFromColorref(background & 0x00FFFFFFu);
        for (uint32_t& p : pixels) {
            const uint32_t alpha = p >> 24;
            if (alpha == 0) {
                p = under;
            } else if (alpha != 0xFF) {
                p = 0xFF000000u | mixColours(p, under, alpha);
            }
        }
    }
    // Focused and selected images are tinted with the highlight colour, keeping their alpha.
    const uint32_t tint = (fStyle & ILD_BLEND50) != 0 ? 128 : (fStyle & ILD_BLEND25) != 0 ? 64 : 0;
    if (tint != 0 && (fStyle & ILD_MASK) == 0) {
        const uint32_t highlight = pixelFromColorref(GetSysColor(COLOR_HIGHLIGHT) & 0x00FFFFFFu);
        for (uint32_t& p : pixels)
            p = (p & 0xFF000000u) | mixColours(highlight, p, tint);
    }
    PixelBlock block{pixels.data(), width, height};
    RECT whole{0, 0, width, height};
    const std::optional<RECT> target = rectAt(x, y, width, height);
    return target && drawScaled(hdc, block, whole, *target) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    return list == nullptr ? 0 : static_cast<int>(list->images.size());
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    if (list == nullptr || cx == nullptr || cy == nullptr)
        return FALSE;
    *cx = list->width;
    *cy = list->height;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    if (list == nullptr)
        return CLR_NONE;
    COLORREF previous = list->background;
    list->background = clrBk;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
    std::lock_guard lock(lists().mutex);
    _IMAGELIST* list = findList(himl);
    return list == nullptr ? CLR_NONE : list->background;
}
