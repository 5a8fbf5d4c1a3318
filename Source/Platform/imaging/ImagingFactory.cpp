// IImagingFactory and its class object. Pictures come from memory only
// (CreateImageFromBuffer, without file views); the stream, file, bitmap, codec and encoder
// methods are not provided and return E_NOTIMPL.
#include "imaging/ImagingFactory.h"

#include <device/PlatformClasses.h>

#include <atomic>
#include <new>

#include "imaging/DecodedImage.h"
#include "imaging/Picture.h"

namespace platform {

namespace {

class ImagingFactory final : public IImagingFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IImagingFactory) {
            *object = static_cast<IImagingFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    STDMETHODIMP CreateImageFromBuffer(const void* buffer, UINT size,
                                       BufferDisposalFlag disposalFlag, IImage** image) override {
        if (image == nullptr)
            return E_POINTER;
        *image = nullptr;
        if (buffer == nullptr || size == 0)
            return E_INVALIDARG;
        // The picture is decoded here and now, so with BufferDisposalFlagNone the caller may
        // free or reuse its buffer as soon as this returns. A buffer handed over for GlobalFree
        // or LocalFree is kept until the image goes and then freed; on failure it stays the
        // caller's. File views are not provided.
        if (disposalFlag == BufferDisposalFlagUnmapViewOfFile)
            return E_NOTIMPL;
        if (disposalFlag != BufferDisposalFlagNone &&
            disposalFlag != BufferDisposalFlagGlobalFree &&
            disposalFlag != BufferDisposalFlagLocalFree) {
            return E_INVALIDARG;
        }
        auto picture = decodePicture(static_cast<const uint8_t*>(buffer), size);
        if (!picture)
            return E_FAIL;
        const void* owned = disposalFlag == BufferDisposalFlagNone ? nullptr : buffer;
        auto* decoded = new (std::nothrow) DecodedImage(std::move(*picture), disposalFlag, owned);
        if (decoded == nullptr)
            return E_OUTOFMEMORY;
        *image = decoded;
        return S_OK;
    }

    STDMETHODIMP CreateImageFromStream(IStream*, IImage**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateImageFromFile(const WCHAR*, IImage**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateNewBitmap(UINT, UINT, PixelFormatID, IBitmapImage**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateBitmapFromImage(IImage*, UINT, UINT, PixelFormatID, InterpolationHint,
                                       IBitmapImage**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateBitmapFromBuffer(BitmapData*, IBitmapImage**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateImageDecoder(IStream*, DecoderInitFlag, IImageDecoder**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateImageEncoderToStream(const CLSID*, IStream*, IImageEncoder**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateImageEncoderToFile(const CLSID*, const WCHAR*, IImageEncoder**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetInstalledDecoders(UINT*, ImageCodecInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetInstalledEncoders(UINT*, ImageCodecInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP InstallImageCodec(const ImageCodecInfo*) override { return E_NOTIMPL; }
    STDMETHODIMP UninstallImageCodec(const WCHAR*, UINT) override { return E_NOTIMPL; }

private:
    ~ImagingFactory() = default;
    std::atomic<ULONG> references_{1};
};

// The one class object; it lives as long as the platform and is never deleted.
class ImagingClassFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* factory = new (std::nothrow) ImagingFactory();
        if (factory == nullptr)
            return E_OUTOFMEMORY;
        HRESULT result = factory->QueryInterface(riid, object);
        factory->Release();
        return result;
    }
    // The platform is never unloaded: there is nothing for a lock to hold.
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

HRESULT imagingGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_ImagingFactory)
        return CLASS_E_CLASSNOTAVAILABLE;
    static ImagingClassFactory classObject;
    return classObject.QueryInterface(riid, object);
}

namespace {

// The library is part of the platform and never unloaded.
HRESULT imagingDllCanUnloadNow() {
    return S_FALSE;
}

// Programs reach the factory through CoCreateInstance and the registry, as on the device.
[[maybe_unused]] const bool registeredAsPlatformClass = [] {
    device::registerPlatformClass(CLSID_ImagingFactory, u"imaging.dll", imagingGetClassObject,
                                  imagingDllCanUnloadNow);
    return true;
}();

}  // namespace

}  // namespace platform
