// The macros face on the device screen, painted by the panel with the label painter the
// table's first load installs, and saved as PNG files (Screenshots/ beside the
// test program's working folder) for a person to look at: Farsi and Latin names, a date and
// an owner macro, and the record key held down once a recording is armed.
#include <device/Clock.h>
#include <device/Screen.h>

#include <filesystem>

#include "MacroLayouts.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroLabels.h"
#include "panel/PanelFunctions.h"

using namespace skintest;
using MacroFaceScreenshot = PanelTest;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 80;

// Four rows of two keys, 120 by 20 pixels: macros 0 to 6 and the record key.
RECT keyRect(int i) {
    const int col = i % 2;
    const int row = i / 2;
    return rect(col * 120, row * 20, col * 120 + 120, row * 20 + 20);
}

// An 8-bit picture of the face: light keys with grey edges on a slate ground, and a red dot
// on the record key.
std::string facePicture() {
    enum Colour : uint8_t { Ground, KeyFace, Edge, Dot };
    const uint32_t palette[] = {0x3C4650, 0xF4F4F0, 0x9098A0, 0xD02020};
    std::vector<uint8_t> pixels(kWidth * kHeight, Ground);
    for (int i = 0; i < 8; ++i) {
        const RECT r = keyRect(i);
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < r.right - 1; ++x) {
                const bool edge =
                    y == r.top + 1 || y == r.bottom - 2 || x == r.left + 1 || x == r.right - 2;
                pixels[y * kWidth + x] = edge ? Edge : KeyFace;
            }
    }
    const RECT record = keyRect(7);
    const int cx = (record.left + record.right) / 2, cy = (record.top + record.bottom) / 2;
    for (int y = cy - 5; y <= cy + 5; ++y)
        for (int x = cx - 5; x <= cx + 5; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 25)
                pixels[y * kWidth + x] = Dot;

    std::string b = "BM";
    const uint32_t offset = 54 + 256 * 4;
    put32(b, offset + kWidth * kHeight);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, kWidth);
    put32(b, kHeight);
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);
    put32(b, kWidth * kHeight);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 256);
    put32(b, 0);
    for (int i = 0; i < 256; ++i)
        put32(b, i < 4 ? palette[i] : 0);
    for (int y = kHeight - 1; y >= 0; --y)  // bottom-up rows; 240 is a multiple of 4
        b.append(reinterpret_cast<const char*>(pixels.data() + y * kWidth), kWidth);
    return b;
}

Layout faceLayout() {
    Layout layout;
    layout.flags = LF_MACROS;
    layout.picture = facePicture();
    for (int row = 0; row < 4; ++row) {
        layout.rows.push_back({});
        for (int col = 0; col < 2; ++col) {
            const int i = row * 2 + col;
            layout.rows.back().push_back(i < 7 ? Key{KF_MACRO, static_cast<WORD>(i), 0, keyRect(i)}
                                               : Key{KF_MACRO, 0, kRecordKeyVk, keyRect(i)});
        }
    }
    return layout;
}

std::filesystem::path shotPath(const char* name) {
    const std::filesystem::path folder = std::filesystem::current_path() / "Screenshots";
    std::filesystem::create_directories(folder);
    return folder / name;
}

// Whether any pixel of the screen row band [top, bottom) between x0 and x1 is `colour`.
bool anyPixel(const device::ScreenImage& image, int x0, int x1, int top, int bottom,
              uint32_t colour) {
    for (int y = top; y < bottom; ++y)
        for (int x = x0; x < x1; ++x)
            if (image.pixels[static_cast<size_t>(y) * image.width + x] == colour)
                return true;
    return false;
}

}  // namespace

TEST_F(MacroFaceScreenshot, FarsiAndLatinNamesOnTheScreen) {
    SYSTEMTIME now{2026, 12, 2, 8, 9, 30, 0, 0};
    device::setDeviceLocalTime(now);
    std::vector<BYTE> owner(kOwnerBlockBytes, 0);
    const std::u16string ownerName = u"Sara Tehrani";
    std::memcpy(owner.data(), ownerName.data(), ownerName.size() * sizeof(WCHAR));
    storeValue(kOwnerKey, kOwnerValue, REG_BINARY, owner);
    const std::pair<std::u16string, std::u16string> macros[] = {
        {u"سلام دوستان", u"سلام"},     {u"Hello world", u"Hello world"}, {u"تاریخ", u"@@DT0@@"},
        {u"Time", u"@@DT2@@"},         {u"نام من", u"@@MN@@"},           {u"Key Seq. 6", u""},
        {u"ایمیل", u"me@example.com"},
    };
    for (int i = 0; i < 7; ++i) {
        storeMacroText(numberedName(u"MacroName", i).c_str(), macros[i].first);
        storeMacroText(numberedName(u"MacroData", i).c_str(), macros[i].second);
    }
    storeMacroValue(u"MacroData5", REG_BINARY, {0x21, 0x0D, 0, 0, 0x22, 0x0D, 0, 0});

    Skin skin;
    skin.textColor = 0x00402010;
    skin.frameColor = 0x002020D0;
    skin.classes[u"P"] = {faceLayout()};
    writeSkin(skin);
    createPanel();
    // The first load installed the label painter where the panel's paint finds it.
    EXPECT_EQ(g_panelFunctions.paintMacroLabels, &PaintMacroLabels);
    InvalidateRect(panelWindow(), nullptr, FALSE);
    UpdateWindow(panelWindow());
    ASSERT_TRUE(device::saveScreenPng(shotPath("macros_face.png")));

    // The Farsi name sits in the right half of its key, the Latin one in the left half.
    const device::ScreenImage image = device::copyScreen();
    const int top = 320 - kHeight;
    const uint32_t text = 0x102040;
    EXPECT_TRUE(anyPixel(image, 60, 117, top + 1, top + 19, text));
    EXPECT_FALSE(anyPixel(image, 3, 30, top + 1, top + 19, text));
    EXPECT_TRUE(anyPixel(image, 123, 150, top + 1, top + 19, text));
    EXPECT_FALSE(anyPixel(image, 210, 237, top + 1, top + 19, text));

    tap(180, 70);  // the record key: armed, shown held down
    ASSERT_EQ(panel->recordCount, 0);
    UpdateWindow(panelWindow());
    ASSERT_TRUE(device::saveScreenPng(shotPath("macros_face_recording.png")));
    EXPECT_EQ(device::copyScreen().pixels[static_cast<size_t>(top + 61) * 240 + 121], 0xD02020u);
}
