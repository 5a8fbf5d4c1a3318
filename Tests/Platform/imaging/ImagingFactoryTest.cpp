// The imaging factory as COM hands it out: class object, CreateImageFromBuffer, GetImageInfo,
// GetPhysicalDimension and Draw into a memory DC, blended by alpha and scaled.
#include <gtest/gtest.h>

#include <imaging.h>
#include <objbase.h>
#include <winbase_memory.h>

#include <cstring>
#include <memory>

#include "DeviceTest.h"
#include "PictureWriters.h"
#include "PixelCanvas.h"
#include "imaging/ImagingFactory.h"

using namespace testpictures;
using testsupport::PixelCanvas;

namespace {

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, Releaser>;

ComPtr<IImagingFactory> createFactory() {
    IClassFactory* classObject = nullptr;
    EXPECT_EQ(platform::imagingGetClassObject(CLSID_ImagingFactory, IID_IClassFactory,
                                              reinterpret_cast<void**>(&classObject)),
              S_OK);
    if (classObject == nullptr)
        return nullptr;
    IImagingFactory* factory = nullptr;
    EXPECT_EQ(classObject->CreateInstance(nullptr, IID_IImagingFactory,
                                          reinterpret_cast<void**>(&factory)),
              S_OK);
    classObject->Release();
    return ComPtr<IImagingFactory>(factory);
}

// 2 × 2: opaque red, half-transparent blue, transparent green, opaque white.
std::vector<uint8_t> samplePng() {
    return writePng({0xFFFF0000u, 0x800000FFu, 0x0000FF00u, 0xFFFFFFFFu}, 2, 2, PngKind::Rgba8);
}

ComPtr<IImage> imageFrom(IImagingFactory* factory, const std::vector<uint8_t>& bytes) {
    IImage* image = nullptr;
    EXPECT_EQ(factory->CreateImageFromBuffer(bytes.data(), static_cast<UINT>(bytes.size()),
                                             BufferDisposalFlagNone, &image),
              S_OK);
    return ComPtr<IImage>(image);
}

}  // namespace

TEST(ImagingFactory, ClassObjectCreatesFactoriesForItsClassOnly) {
    void* object = reinterpret_cast<void*>(1);
    GUID other = CLSID_ImagingFactory;
    other.Data1 ^= 1;
    EXPECT_EQ(platform::imagingGetClassObject(other, IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(platform::imagingGetClassObject(CLSID_ImagingFactory, IID_IImage, &object),
              E_NOINTERFACE);

    IClassFactory* classObject = nullptr;
    ASSERT_EQ(platform::imagingGetClassObject(CLSID_ImagingFactory, IID_IClassFactory,
                                              reinterpret_cast<void**>(&classObject)),
              S_OK);
    EXPECT_EQ(classObject->CreateInstance(reinterpret_cast<IUnknown*>(classObject),
                                          IID_IImagingFactory, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(classObject->CreateInstance(nullptr, IID_IImage, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(classObject->LockServer(TRUE), S_OK);
    EXPECT_EQ(classObject->LockServer(FALSE), S_OK);
    classObject->Release();

    auto factory = createFactory();
    ASSERT_NE(factory, nullptr);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    IImage* image = nullptr;
    EXPECT_EQ(factory->CreateImageFromFile(u"\\picture.png", &image), E_NOTIMPL);
    EXPECT_EQ(factory->GetInstalledDecoders(nullptr, nullptr), E_NOTIMPL);
}

TEST(ImagingFactory, ImageFromBufferDescribesThePicture) {
    auto factory = createFactory();
    ASSERT_NE(factory, nullptr);
    auto image = imageFrom(factory.get(), samplePng());
    ASSERT_NE(image, nullptr);

    ImageInfo info{};
    ASSERT_EQ(image->GetImageInfo(&info), S_OK);
    EXPECT_EQ(info.RawDataFormat, ImageFormatPNG);
    EXPECT_EQ(info.PixelFormat, PixelFormat32bppARGB);
    EXPECT_EQ(info.Width, 2u);
    EXPECT_EQ(info.Height, 2u);
    EXPECT_DOUBLE_EQ(info.Xdpi, 96.0);
    EXPECT_NE(info.Flags & ImageFlagsHasAlpha, 0u);
    EXPECT_NE(info.Flags & ImageFlagsHasTranslucent, 0u);

    // 2 pixels at 96 dpi are 0.529 mm.
    SIZE size{};
    ASSERT_EQ(image->GetPhysicalDimension(&size), S_OK);
    EXPECT_EQ(size.cx, 53);
    EXPECT_EQ(size.cy, 53);

    auto bmp =
        imageFrom(factory.get(),
                  withFileHeader(writeDib({0xFF102030u}, {}, 1, 1, 24, {}, DibOrder::BottomUp)));
    ASSERT_NE(bmp, nullptr);
    ASSERT_EQ(bmp->GetImageInfo(&info), S_OK);
    EXPECT_EQ(info.RawDataFormat, ImageFormatBMP);
    EXPECT_EQ(info.PixelFormat, PixelFormat24bppRGB);
    EXPECT_EQ(info.Flags & (ImageFlagsHasAlpha | ImageFlagsHasTranslucent), 0u);

    IImage* bad = reinterpret_cast<IImage*>(1);
    const uint8_t garbage[16] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    EXPECT_EQ(factory->CreateImageFromBuffer(garbage, sizeof garbage, BufferDisposalFlagNone, &bad),
              E_FAIL);
    EXPECT_EQ(bad, nullptr);
    EXPECT_EQ(factory->CreateImageFromBuffer(nullptr, 10, BufferDisposalFlagNone, &bad),
              E_INVALIDARG);
    EXPECT_EQ(factory->CreateImageFromBuffer(garbage, 16, BufferDisposalFlagNone, nullptr),
              E_POINTER);
}

TEST(ImagingFactory, DrawBlendsThePictureIntoAMemoryDc) {
    auto factory = createFactory();
    ASSERT_NE(factory, nullptr);
    // The buffer is gone before drawing: the image must not need it any more.
    auto bytes = std::make_unique<std::vector<uint8_t>>(samplePng());
    bytes->resize(50000, 0);
    auto image = imageFrom(factory.get(), *bytes);
    ASSERT_NE(image, nullptr);
    bytes.reset();

    PixelCanvas canvas(8, 8, 0x00404040u);
    RECT at{3, 2, 5, 4};
    ASSERT_EQ(image->Draw(canvas.dc(), &at, nullptr), S_OK);
    EXPECT_EQ(canvas.at(3, 2), 0xFF0000u);  // opaque red
    // Half-transparent blue over gray 0x40: red and green (0x40 * 127 + 127) / 255 = 0x20,
    // blue (0xFF * 128 + 0x40 * 127 + 127) / 255 = 0xA0.
    EXPECT_EQ(canvas.at(4, 2), 0x2020A0u);
    EXPECT_EQ(canvas.at(3, 3), 0x404040u);  // transparent: untouched
    EXPECT_EQ(canvas.at(4, 3), 0xFFFFFFu);
    EXPECT_EQ(canvas.at(2, 2), 0x404040u);  // outside the target
    EXPECT_EQ(canvas.at(5, 4), 0x404040u);
}

TEST(ImagingFactory, DrawScalesToTheTargetAndTakesAPartOfThePicture) {
    auto factory = createFactory();
    ASSERT_NE(factory, nullptr);
    auto image = imageFrom(factory.get(), samplePng());
    ASSERT_NE(image, nullptr);

    PixelCanvas canvas(8, 8, 0x00000000u);
    RECT twice{0, 0, 4, 4};
    ASSERT_EQ(image->Draw(canvas.dc(), &twice, nullptr), S_OK);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(canvas.at(x, y), 0xFF0000u) << x << "," << y;
    }
    EXPECT_EQ(canvas.at(2, 0), 0x000080u);  // half blue over black, top right
    EXPECT_EQ(canvas.at(3, 1), 0x000080u);
    EXPECT_EQ(canvas.at(0, 2), 0x000000u);  // transparent bottom-left quarter
    EXPECT_EQ(canvas.at(1, 3), 0x000000u);
    EXPECT_EQ(canvas.at(2, 2), 0xFFFFFFu);  // white bottom-right quarter
    EXPECT_EQ(canvas.at(3, 3), 0xFFFFFFu);
    EXPECT_EQ(canvas.at(4, 4), 0x000000u);  // outside the target

    // Only the bottom-right pixel (source rectangle in 0.01 mm: 1 pixel = 26.46 units),
    // stretched over a 3 × 2 target, and partly outside the canvas.
    PixelCanvas part(8, 8, 0x00000000u);
    RECT source{26, 26, 53, 53};
    RECT target{6, 6, 9, 8};
    ASSERT_EQ(image->Draw(part.dc(), &target, &source), S_OK);
    EXPECT_EQ(part.at(6, 6), 0xFFFFFFu);
    EXPECT_EQ(part.at(7, 7), 0xFFFFFFu);
    EXPECT_EQ(part.at(5, 6), 0x000000u);

    RECT empty{4, 4, 4, 8};
    EXPECT_EQ(image->Draw(part.dc(), &empty, nullptr), E_INVALIDARG);
    RECT outside{0, 0, 100, 100};  // 3.8 pixels: beyond the picture
    EXPECT_EQ(image->Draw(part.dc(), &twice, &outside), E_INVALIDARG);
    EXPECT_EQ(image->Draw(part.dc(), nullptr, nullptr), E_POINTER);
    EXPECT_EQ(image->Draw(nullptr, &twice, nullptr), E_FAIL);

    // A huge target costs only its visible part: the canvas shows a corner of the red pixel.
    RECT huge{0, 0, 100000, 100000};
    EXPECT_EQ(image->Draw(part.dc(), &huge, nullptr), S_OK);
    EXPECT_EQ(part.at(0, 0), 0xFF0000u);
    EXPECT_EQ(part.at(7, 7), 0xFF0000u);
}

using ImagingThroughCom = DeviceTest;

TEST_F(ImagingThroughCom, CoCreateInstanceFindsTheFactoryThroughTheRegistry) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    IImagingFactory* factory = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IImagingFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    ASSERT_NE(factory, nullptr);
    auto image = imageFrom(factory, samplePng());
    ASSERT_NE(image, nullptr);
    ImageInfo info{};
    EXPECT_EQ(image->GetImageInfo(&info), S_OK);
    EXPECT_EQ(info.Width, 2u);
    image.reset();
    factory->Release();
    CoUninitialize();
}

TEST(ImagingFactory, HandedOverBuffersAreFreedWhenTheImageGoes) {
    auto factory = createFactory();
    ASSERT_NE(factory, nullptr);
    const auto png = samplePng();

    HLOCAL local = LocalAlloc(LMEM_FIXED, png.size());
    ASSERT_NE(local, nullptr);
    std::memcpy(local, png.data(), png.size());
    IImage* image = nullptr;
    ASSERT_EQ(factory->CreateImageFromBuffer(local, static_cast<UINT>(png.size()),
                                             BufferDisposalFlagLocalFree, &image),
              S_OK);
    EXPECT_NE(LocalFlags(local), static_cast<UINT>(LMEM_INVALID_HANDLE));  // still held
    image->Release();
    EXPECT_EQ(LocalFlags(local), static_cast<UINT>(LMEM_INVALID_HANDLE));  // freed with it

    // A moveable global block, passed locked, is found and freed through its handle.
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, png.size());
    void* bytes = GlobalLock(global);
    ASSERT_NE(bytes, nullptr);
    std::memcpy(bytes, png.data(), png.size());
    ASSERT_EQ(factory->CreateImageFromBuffer(bytes, static_cast<UINT>(png.size()),
                                             BufferDisposalFlagGlobalFree, &image),
              S_OK);
    image->Release();
    EXPECT_EQ(GlobalFlags(global), static_cast<UINT>(LMEM_INVALID_HANDLE));

    // A picture that does not decode leaves the buffer with the caller.
    HLOCAL garbage = LocalAlloc(LPTR, 64);
    EXPECT_EQ(factory->CreateImageFromBuffer(garbage, 64, BufferDisposalFlagLocalFree, &image),
              E_FAIL);
    EXPECT_NE(LocalFlags(garbage), static_cast<UINT>(LMEM_INVALID_HANDLE));
    LocalFree(garbage);
    EXPECT_EQ(factory->CreateImageFromBuffer(png.data(), static_cast<UINT>(png.size()),
                                             BufferDisposalFlagUnmapViewOfFile, &image),
              E_NOTIMPL);
    EXPECT_EQ(factory->CreateImageFromBuffer(png.data(), static_cast<UINT>(png.size()),
                                             static_cast<BufferDisposalFlag>(7), &image),
              E_INVALIDARG);
}
