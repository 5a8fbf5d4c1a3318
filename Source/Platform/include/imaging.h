// The imaging library's COM surface: IImagingFactory and IImage with their structures, flags
// and identifiers, in the published slot order. The platform's factory decodes PNG, JPEG, GIF
// and BMP pictures from memory (CreateImageFromBuffer) and draws them into device contexts.
// Of the factory's methods only CreateImageFromBuffer is provided; every other method returns
// E_NOTIMPL. Of IImage's, PushIntoSink and GetThumbnail return E_NOTIMPL.
#pragma once

#include "guiddef.h"
#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

// {327ABDA7-072B-11D3-9D7B-0000F81EF32E}
inline constexpr IID IID_IImagingFactory = {
    0x327ABDA7, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
// {327ABDA8-072B-11D3-9D7B-0000F81EF32E}
inline constexpr CLSID CLSID_ImagingFactory = {
    0x327ABDA8, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
// {327ABDA9-072B-11D3-9D7B-0000F81EF32E}
inline constexpr IID IID_IImage = {
    0x327ABDA9, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// Raw data formats (ImageInfo::RawDataFormat): {B96B3CA9..B5-0728-11D3-9D7B-0000F81EF32E}.
#define KELVO_IMAGE_FORMAT_GUID(last)                      \
    GUID {                                                 \
        last, 0x0728, 0x11D3, {                            \
            0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E \
        }                                                  \
    }
inline constexpr GUID ImageFormatUndefined = KELVO_IMAGE_FORMAT_GUID(0xB96B3CA9);
inline constexpr GUID ImageFormatMemoryBMP = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAA);
inline constexpr GUID ImageFormatBMP = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAB);
inline constexpr GUID ImageFormatEMF = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAC);
inline constexpr GUID ImageFormatWMF = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAD);
inline constexpr GUID ImageFormatJPEG = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAE);
inline constexpr GUID ImageFormatPNG = KELVO_IMAGE_FORMAT_GUID(0xB96B3CAF);
inline constexpr GUID ImageFormatGIF = KELVO_IMAGE_FORMAT_GUID(0xB96B3CB0);
inline constexpr GUID ImageFormatTIFF = KELVO_IMAGE_FORMAT_GUID(0xB96B3CB1);
inline constexpr GUID ImageFormatEXIF = KELVO_IMAGE_FORMAT_GUID(0xB96B3CB2);
inline constexpr GUID ImageFormatIcon = KELVO_IMAGE_FORMAT_GUID(0xB96B3CB5);
#undef KELVO_IMAGE_FORMAT_GUID

// Pixel formats: index in the low byte, bits per pixel in the second, kind flags above.
typedef INT PixelFormat;
typedef PixelFormat PixelFormatID;
#define PixelFormatIndexed 0x00010000
#define PixelFormatGDI 0x00020000
#define PixelFormatAlpha 0x00040000
#define PixelFormatPAlpha 0x00080000
#define PixelFormatExtended 0x00100000
#define PixelFormatCanonical 0x00200000
#define PixelFormatUndefined 0
#define PixelFormatDontCare 0
#define PixelFormat1bppIndexed 0x00030101
#define PixelFormat4bppIndexed 0x00030402
#define PixelFormat8bppIndexed 0x00030803
#define PixelFormat16bppGrayScale 0x00101004
#define PixelFormat16bppRGB555 0x00021005
#define PixelFormat16bppRGB565 0x00021006
#define PixelFormat16bppARGB1555 0x00061007
#define PixelFormat24bppRGB 0x00021808
#define PixelFormat32bppRGB 0x00022009
#define PixelFormat32bppARGB 0x0026200A
#define PixelFormat32bppPARGB 0x000E200B
#define PixelFormat48bppRGB 0x0010300C
#define PixelFormat64bppARGB 0x0034400D
#define PixelFormat64bppPARGB 0x001C400E

enum ImageFlags {
    ImageFlagsNone = 0,
    ImageFlagsScalable = 0x0001,
    ImageFlagsHasAlpha = 0x0002,
    ImageFlagsHasTranslucent = 0x0004,
    ImageFlagsPartiallyScalable = 0x0008,
    ImageFlagsColorSpaceRGB = 0x0010,
    ImageFlagsColorSpaceCMYK = 0x0020,
    ImageFlagsColorSpaceGRAY = 0x0040,
    ImageFlagsColorSpaceYCBCR = 0x0080,
    ImageFlagsColorSpaceYCCK = 0x0100,
    ImageFlagsHasRealDPI = 0x1000,
    ImageFlagsHasRealPixelSize = 0x2000,
    ImageFlagsReadOnly = 0x00010000,
    ImageFlagsCaching = 0x00020000,
};

// What CreateImageFromBuffer does with the caller's buffer: None leaves it the caller's (the
// picture is decoded at once); GlobalFree and LocalFree hand it to the image, which frees it
// when released (a failed call leaves it the caller's); UnmapViewOfFile is not provided.
enum BufferDisposalFlag {
    BufferDisposalFlagNone = 0,
    BufferDisposalFlagGlobalFree = 1,
    BufferDisposalFlagLocalFree = 2,
    BufferDisposalFlagUnmapViewOfFile = 3,
};

enum InterpolationHint {
    InterpolationHintDefault = 0,
    InterpolationHintNearestNeighbor = 1,
    InterpolationHintBilinear = 2,
    InterpolationHintAveraging = 3,
    InterpolationHintBicubic = 4,
};

enum DecoderInitFlag {
    DecoderInitFlagNone = 0,
    DecoderInitFlagNoBlock = 0x0001,
    DecoderInitFlagBuiltIn1st = 0x0002,
};

struct ImageInfo {
    GUID RawDataFormat;
    ::PixelFormat PixelFormat;
    UINT Width;
    UINT Height;
    UINT TileWidth;
    UINT TileHeight;
    double Xdpi;
    double Ydpi;
    UINT Flags;
};

struct BitmapData {
    UINT Width;
    UINT Height;
    LONG Stride;
    ::PixelFormat PixelFormat;
    void* Scan0;
    UINT_PTR Reserved;
};

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE* SigPattern;
    const BYTE* SigMask;
};

struct IStream;
struct IImageSink;
struct IBitmapImage;
struct IImageDecoder;
struct IImageEncoder;

struct IImage : public IUnknown {
    // The picture's size in 0.01 mm units.
    STDMETHOD(GetPhysicalDimension)(SIZE* size) PURE;
    STDMETHOD(GetImageInfo)(ImageInfo* imageInfo) PURE;
    STDMETHOD(SetImageFlags)(UINT flags) PURE;
    // Draws the part srcRect (in 0.01 mm units; null for the whole picture) scaled into
    // dstRect (pixels), blending by the picture's alpha.
    STDMETHOD(Draw)(HDC hdc, const RECT* dstRect, const RECT* srcRect) PURE;
    STDMETHOD(PushIntoSink)(IImageSink* sink) PURE;
    STDMETHOD(GetThumbnail)(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) PURE;
};

struct IImagingFactory : public IUnknown {
    STDMETHOD(CreateImageFromStream)(IStream* stream, IImage** image) PURE;
    STDMETHOD(CreateImageFromFile)(const WCHAR* filename, IImage** image) PURE;
    STDMETHOD(CreateImageFromBuffer)
    (const void* buffer, UINT size, BufferDisposalFlag disposalFlag, IImage** image) PURE;
    STDMETHOD(CreateNewBitmap)
    (UINT width, UINT height, PixelFormatID pixelFormat, IBitmapImage** bitmap) PURE;
    STDMETHOD(CreateBitmapFromImage)
    (IImage* image, UINT width, UINT height, PixelFormatID pixelFormat, InterpolationHint hints,
     IBitmapImage** bitmap) PURE;
    STDMETHOD(CreateBitmapFromBuffer)(BitmapData* bitmapData, IBitmapImage** bitmap) PURE;
    STDMETHOD(CreateImageDecoder)
    (IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder) PURE;
    STDMETHOD(CreateImageEncoderToStream)
    (const CLSID* clsid, IStream* stream, IImageEncoder** encoder) PURE;
    STDMETHOD(CreateImageEncoderToFile)
    (const CLSID* clsid, const WCHAR* filename, IImageEncoder** encoder) PURE;
    STDMETHOD(GetInstalledDecoders)(UINT* count, ImageCodecInfo** decoders) PURE;
    STDMETHOD(GetInstalledEncoders)(UINT* count, ImageCodecInfo** encoders) PURE;
    STDMETHOD(InstallImageCodec)(const ImageCodecInfo* codecInfo) PURE;
    STDMETHOD(UninstallImageCodec)(const WCHAR* codecName, UINT flags) PURE;
};
