// The IImage the imaging factory hands out: a picture decoded at creation, so that it never
// depends on the caller's buffer afterwards. A buffer handed over with GlobalFree or LocalFree
// disposal is the image's to free, which it does when it is released.
#pragma once

#include <imaging.h>

#include <atomic>

#include "imaging/Picture.h"

namespace platform {

class DecodedImage final : public IImage {
public:
    // `ownedBuffer` is freed as `disposal` says when the image goes (null: nothing to free).
    DecodedImage(Picture picture, BufferDisposalFlag disposal, const void* ownedBuffer);

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
    ~DecodedImage();

    std::atomic<ULONG> references_{1};
    Picture picture_;
    bool translucent_ = false;
    UINT callerFlags_ = 0;
    BufferDisposalFlag disposal_;
    const void* ownedBuffer_;
};

}  // namespace platform
