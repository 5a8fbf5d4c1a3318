// The IImage the imaging factory hands out: a picture decoded at creation, so that it never
// depends on the caller's buffer afterwards.
#pragma once

#include <imaging.h>

#include <atomic>

#include "imaging/Picture.h"

namespace platform {

class DecodedImage final : public IImage {
public:
    explicit DecodedImage(Picture picture);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPhysicalDimension(SIZE* size) override;
    STDMETHODIMP GetImageInfo(ImageInfo* info) override;
    STDMETHODIMP SetImageFlags(UINT flags) override;
    STDMETHODIMP Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) override;
    STDMETHODIMP PushIntoSink(IImageSink* sink) override;
    STDMETHODIMP GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) override;

private:
    ~DecodedImage() = default;

    std::atomic<ULONG> references_{1};
    Picture picture_;
    bool translucent_ = false;
    UINT callerFlags_ = 0;
};

}  // namespace platform
