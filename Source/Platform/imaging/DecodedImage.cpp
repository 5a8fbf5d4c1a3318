// A decoded picture behind IImage: its description, its physical size, and drawing it.
#include "imaging/DecodedImage.h"

#include <winbase_memory.h>

#include <cmath>

#include "imaging/DrawScaled.h"

namespace platform {

namespace {

constexpr double kHundredthsOfMmPerInch = 2540.0;

GUID rawFormatOf(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png:
            return ImageFormatPNG;
        case PictureFormat::Jpeg:
            return ImageFormatJPEG;
        case PictureFormat::Gif:
            return ImageFormatGIF;
        case PictureFormat::Bmp:
            return ImageFormatBMP;
    }
    return ImageFormatUndefined;
}

LONG hundredthsOfMm(uint32_t pixels, double dpi) {
    return static_cast<LONG>(std::lround(pixels * kHundredthsOfMmPerInch / dpi));
}

}  // namespace

DecodedImage::DecodedImage(Picture picture, BufferDisposalFlag disposal, const void* ownedBuffer)
    : picture_(std::move(picture)), disposal_(disposal), ownedBuffer_(ownedBuffer) {
    for (uint32_t pixel : picture_.pixels) {
        uint32_t alpha = pixel >> 24;
        if (alpha != 0 && alpha != 0xFF) {
            translucent_ = true;
            break;
        }
    }
}

DecodedImage::~DecodedImage() {
    // The buffer may be a fixed block (its pointer is its handle) or a locked moveable one.
    void* buffer = const_cast<void*>(ownedBuffer_);
    if (buffer == nullptr)
        return;
    if (disposal_ == BufferDisposalFlagLocalFree) {
        if (HLOCAL block = LocalHandle(buffer))
            LocalFree(block);
    } else if (disposal_ == BufferDisposalFlagGlobalFree) {
        if (HGLOBAL block = GlobalHandle(buffer))
            GlobalFree(block);
    }
}

STDMETHODIMP DecodedImage::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IImage) {
        *object = static_cast<IImage*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DecodedImage::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) DecodedImage::Release() {
    ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP DecodedImage::GetPhysicalDimension(SIZE* size) {
    if (size == nullptr)
        return E_POINTER;
    size->cx = hundredthsOfMm(picture_.width, picture_.xdpi);
    size->cy = hundredthsOfMm(picture_.height, picture_.ydpi);
    return S_OK;
}

STDMETHODIMP DecodedImage::GetImageInfo(ImageInfo* info) {
    if (info == nullptr)
        return E_POINTER;
    info->RawDataFormat = rawFormatOf(picture_.format);
    info->PixelFormat = static_cast<::PixelFormat>(picture_.sourcePixels);
    info->Width = picture_.width;
    info->Height = picture_.height;
    // The whole picture is decoded: one tile.
    info->TileWidth = picture_.width;
    info->TileHeight = picture_.height;
    info->Xdpi = picture_.xdpi;
    info->Ydpi = picture_.ydpi;
    UINT flags = ImageFlagsReadOnly | ImageFlagsHasRealPixelSize | ImageFlagsColorSpaceRGB;
    if (picture_.hasAlpha)
        flags |= ImageFlagsHasAlpha;
    if (translucent_)
        flags |= ImageFlagsHasTranslucent;
    info->Flags = flags | (callerFlags_ & ImageFlagsCaching);
    return S_OK;
}

STDMETHODIMP DecodedImage::SetImageFlags(UINT flags) {
    // Only the caching hint is the caller's to set; the picture is always fully in memory.
    callerFlags_ = flags & ImageFlagsCaching;
    return S_OK;
}

STDMETHODIMP DecodedImage::Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) {
    if (dstRect == nullptr)
        return E_POINTER;
    if (dstRect->left >= dstRect->right || dstRect->top >= dstRect->bottom)
        return E_INVALIDARG;
    RECT source{0, 0, static_cast<LONG>(picture_.width), static_cast<LONG>(picture_.height)};
    if (srcRect != nullptr) {
        // The source rectangle is in 0.01 mm units of the picture's resolution.
        auto toPixels = [](LONG units, double dpi) {
            return std::llround(units * dpi / kHundredthsOfMmPerInch);
        };
        long long left = toPixels(srcRect->left, picture_.xdpi);
        long long top = toPixels(srcRect->top, picture_.ydpi);
        long long right = toPixels(srcRect->right, picture_.xdpi);
        long long bottom = toPixels(srcRect->bottom, picture_.ydpi);
        if (left < 0 || top < 0 || right > source.right || bottom > source.bottom ||
            left >= right || top >= bottom) {
            return E_INVALIDARG;
        }
        source = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                      static_cast<LONG>(bottom)};
    }
    PixelBlock block{picture_.pixels.data(), static_cast<int>(picture_.width),
                     static_cast<int>(picture_.height)};
    return drawScaled(hdc, block, source, *dstRect) ? S_OK : E_FAIL;
}

STDMETHODIMP DecodedImage::PushIntoSink(IImageSink*) {
    return E_NOTIMPL;
}

STDMETHODIMP DecodedImage::GetThumbnail(UINT, UINT, IImage**) {
    return E_NOTIMPL;
}

}  // namespace platform
