// The skin loads: the file is opened for one layout load only, the layout asked for (and its
// alternate) is found by seeking, and pictures and layout data are read into fixed areas after
// their sizes have been checked.
#include "skin/SkinLoader.h"

#include <imaging.h>
#include <objbase.h>

#include "calculator/Calculator.h"
#include "inputmethod/Settings.h"
#include "panel/MacroStore.h"
#include "panel/MyPanel.h"
#include "skin/EBFFile.h"
#include "skin/SkinSettings.h"

namespace {

std::u16string layoutClassName(int n) {
    std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// Registers the modifier keys of a layout kept from an earlier load.
void registerModifiers(SkinLayout& layout, KeyRecord** modSlot) {
    for (int r = 0; r < layout.rowCount && r < kMaxRows; ++r) {
        for (int k = 0; k < layout.rowKeyCount[r] && k < kMaxKeysPerRow; ++k) {
            KeyRecord& key = layout.keys[r][k];
            if (key.hasModifierSlot())
                modSlot[key.slot() - 1] = &key;
        }
    }
}

void showRejected(CMyPanel& panel, UINT textId) {
    panel.ShowMessageLayout(formatMessageText(textId, panel.skinPath));
}

// Decodes a parsed layout's picture; a layout without one shows none, not the previous one's.
void decodePicture(SkinLayout& layout, DWORD pictureSize, HDC dc) {
    if (pictureSize == 0) {
        layout.setBitmap(nullptr);
    } else {
        decodeImage(layout.image.data(), pictureSize, dc, layout, layout.width, layout.height);
    }
}

}  // namespace

std::u16string formatMessageText(UINT id, const std::u16string& argument) {
    WCHAR buffer[512] = {};
    int length =
        LoadStringW(AfxGetResourceHandle(), id, buffer, static_cast<int>(std::size(buffer)));
    std::u16string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    // The path goes in as it is: a "%" in it is not a format.
    size_t at = text.find(u"%s");
    if (at != std::u16string::npos)
        text.replace(at, 2, argument);
    return text;
}

LayoutLoad parseLayoutClass(CEBFFile& file, int n, SkinLayout& layout, KeyRecord** modSlot,
                            DWORD& pictureSize, LayoutRejection* why) {
    LayoutRejection rejection;
    auto reject = [&](LayoutReject reason) {
        rejection.reason = reason;
        if (why != nullptr)
            *why = rejection;
        file.EndClass();
        return LayoutLoad::Rejected;
    };
    if (why != nullptr)
        *why = rejection;
    pictureSize = 0;
    if (!file.BeginClass(layoutClassName(n)))
        return LayoutLoad::Missing;
    DWORD storedPicture = 0;
    DWORD storedData = 0;
    const bool hasPicture = file.ValueSize(u"P", storedPicture);
    const bool hasData = file.ValueSize(u"D", storedData);
    if (hasPicture && storedPicture > kImageCapacity) {
        rejection.storedBytes = storedPicture;
        return reject(LayoutReject::PictureTooLarge);
    }
    if (hasData && storedData > kLayoutDataCapacity) {
        rejection.storedBytes = storedData;
        return reject(LayoutReject::DataTooLarge);
    }
    if (hasData) {
        BYTE data[kLayoutDataCapacity];
        if (file.RawValue(u"D", data, kLayoutDataCapacity) != storedData)
            return reject(LayoutReject::DataUnreadable);
        rejection.data = parseLayoutData(data, storedData, layout, modSlot);
        if (rejection.data != LayoutDataResult::Ok)
            return reject(LayoutReject::BadData);
    } else {
        // No layout data: a layout without keys or alternate.
        layout.clearKeys();
        layout.flags = 0;
        layout.altIndex = -1;
    }
    layout.index = static_cast<signed char>(n);
    layout.image.fill(0);
    if (hasPicture && storedPicture > 0 &&
        file.RawValue(u"P", layout.image.data(), kImageCapacity) == storedPicture) {
        pictureSize = storedPicture;
    }
    file.EndClass();
    return LayoutLoad::Loaded;
}

namespace {

// A picture decoded through the imaging factory into a new bitmap compatible with the screen,
// drawn through `dc`; null when it cannot be decoded or is larger than allowed.
HBITMAP decodePicture(const BYTE* bytes, DWORD size, HDC dc, int maxWidth, int maxHeight) {
    if (bytes == nullptr || size == 0)
        return nullptr;
    const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    IImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IImagingFactory, reinterpret_cast<void**>(&factory))) ||
        factory == nullptr) {
        if (comStarted)
            CoUninitialize();
        return nullptr;
    }
    HBITMAP decoded = nullptr;
    IImage* image = nullptr;
    ImageInfo info{};
    if (SUCCEEDED(factory->CreateImageFromBuffer(bytes, size, BufferDisposalFlagNone, &image)) &&
        image != nullptr && SUCCEEDED(image->GetImageInfo(&info)) && info.Width > 0 &&
        info.Height > 0 && info.Width <= static_cast<UINT>(std::min(maxWidth, kMaxLayoutSide)) &&
        info.Height <= static_cast<UINT>(std::min(maxHeight, kMaxLayoutSide))) {
        const int width = static_cast<int>(info.Width);
        const int height = static_cast<int>(info.Height);
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        if (bitmap != nullptr) {
            HGDIOBJ previous = SelectObject(dc, bitmap);
            RECT target{0, 0, width, height};
            if (SUCCEEDED(image->Draw(dc, &target, nullptr))) {
                decoded = bitmap;
            } else {
                DeleteObject(bitmap);
            }
            SelectObject(dc, previous);
        }
    }
    if (image != nullptr)
        image->Release();
    factory->Release();
    if (comStarted)
        CoUninitialize();
    return decoded;
}

}  // namespace

bool decodeImage(const BYTE* bytes, DWORD size, HDC dc, SkinLayout& layout, int maxWidth,
                 int maxHeight) {
    layout.setBitmap(nullptr);
    layout.setBitmap(decodePicture(bytes, size, dc, maxWidth, maxHeight));
    return layout.bitmap != nullptr;
}

bool decodeImage(const BYTE* bytes, DWORD size, HDC dc, CBitmap& bitmap) {
    bitmap.DeleteObject();
    if (HBITMAP decoded = decodePicture(bytes, size, dc, kMaxLayoutSide, kMaxLayoutSide))
        bitmap.Attach(decoded);
    return bitmap.GetSafeHandle() != nullptr;
}

void reloadSkinSettings(CMyPanel& panel) {
    if (panel.skinDC.GetSafeHdc() == nullptr)
        panel.skinDC.CreateCompatibleDC(nullptr);
    MeasureScreen();
    panel.scale = scaleForScreen(g_screenWidth);
    LoadSettings();
    LoadMacros();
    readCurrentSkin();
    readSkinsPath();
    panel.skinPath = composeSkinPath();
    loadLayout(panel, 0);
}

void resetSkin(CMyPanel& panel) {
    // The recording ends first: the key-ups the reset sends are not part of it.
    panel.recordCount = -1;
    panel.recordSlot = -1;
    panel.resetKeyState();
    ResetCalculator(panel);
    if (panel.skinDC.GetSafeHdc() == nullptr)
        panel.skinDC.CreateCompatibleDC(nullptr);
    MeasureScreen();
    panel.scale = scaleForScreen(g_screenWidth);
    panel.skinPath = composeSkinPath();
    loadLayout(panel, 0);
    if (panel.m_hWnd != nullptr && panel.layout) {
        panel.MoveWindow(0, 0, panel.layout->width + 2, panel.layout->height + 1, TRUE);
        panel.Invalidate(FALSE);
    }
    panel.fitToLayout();
}

LayoutShown loadLayout(CMyPanel& panel, int n, IfUnusable ifUnusable) {
    if (panel.skinDC.GetSafeHdc() == nullptr)
        panel.skinDC.CreateCompatibleDC(nullptr);
    if (const WCHAR* refused = refusedSkinSetting()) {
        panel.ShowMessageLayout(formatMessageText(IDS_SETTING_TOO_LONG, refused));
        return LayoutShown::Message;
    }
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(panel.skinPath)) {
        file.Close();
        showRejected(panel, IDS_SKIN_NOT_FOUND);
        return LayoutShown::Message;
    }
    DWORD textColor = 0;
    DWORD frameColor = 0;
    file.Value(u"TC", textColor, 0);
    file.Value(u"HC", frameColor, 0);
    panel.textColor = textColor;
    panel.frameColor = frameColor;
    file.StringValue(u"HFN", helpFilePath, {});

    if (!file.BeginClass(dimensionClass(g_screenWidth, g_screenHeight))) {
        file.Close();
        showRejected(panel, IDS_NO_DIMENSION);
        return LayoutShown::Message;
    }
    const DWORD count = file.GetChildCount();
    // Layout numbers are signed bytes; anything beyond the class's count is layout 0.
    if (n < 0 || n > 127 || static_cast<DWORD>(n) >= count)
        n = 0;

    // The layout is parsed aside and takes the place of the one on show only when it can be
    // shown, so that a refused switch leaves everything as it was.
    const bool keepShown = ifUnusable == IfUnusable::KeepShown && panel.layout &&
                           !(panel.layout->flags & LF_MESSAGE) && panel.layout->canBeShown();
    auto incoming = std::make_unique<SkinLayout>();
    std::array<KeyRecord*, kModifierSlots> incomingSlots{};
    DWORD pictureSize = 0;
    HDC dc = panel.skinDC.GetSafeHdc();
    const LayoutLoad load = parseLayoutClass(file, n, *incoming, incomingSlots.data(), pictureSize);
    if (load == LayoutLoad::Missing && keepShown) {
        // The numbered class is not there: the layout keeps its content under the number.
        panel.layout->index = static_cast<signed char>(n);
        panel.modSlot.fill(nullptr);
        registerModifiers(*panel.layout, panel.modSlot.data());
    } else if (load == LayoutLoad::Loaded && incoming->canBeShown()) {
        panel.layout = std::move(incoming);
        panel.modSlot = incomingSlots;
        // The keys of the layout that was on show are gone.
        panel.pressedKey = nullptr;
        decodePicture(*panel.layout, pictureSize, dc);
    } else {
        file.Close();
        if (keepShown)
            return LayoutShown::Kept;
        showRejected(panel, IDS_BAD_LAYOUT);
        return LayoutShown::Message;
    }

    const signed char altIndex = panel.layout->altIndex;
    if (altIndex >= 0) {
        if (!panel.altLayout)
            panel.altLayout = std::make_unique<SkinLayout>();
        SkinLayout& alt = *panel.altLayout;
        const LayoutLoad altLoad = parseLayoutClass(file, altIndex, alt, nullptr, pictureSize);
        alt.index = altIndex;
        if (altLoad == LayoutLoad::Rejected) {
            // An alternate that cannot be held offers no keys; the layout itself stays usable.
            alt.clearKeys();
            alt.setBitmap(nullptr);
        } else if (altLoad == LayoutLoad::Loaded) {
            decodePicture(alt, pictureSize, dc);
        }
    }
    file.EndClass();
    file.Close();
    panel.labelFont.reset();
    panel.panelRect = {0, 0, panel.layout->width + 2, panel.layout->height + 1};
    return LayoutShown::Loaded;
}
