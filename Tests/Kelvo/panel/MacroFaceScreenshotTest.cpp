// The macros face on the device screen, painted by the panel with the label painter the
// table's first load installs, saved as PNG files below the build folder for a person to look
// at: Farsi and Latin names, date, time and owner macros, and the record key held down once a
// recording is armed. It shows the built default skin's macros face when that skin has one;
// otherwise a macros layout drawn here.
#include <device/Clock.h>
#include <device/Screen.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "MacroLayouts.h"
#include "panel/MacroExpansion.h"

using namespace skintest;

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

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// Macros 0 to 9: Farsi and Latin names, texts, a date, a time, an owner field, a key sequence.
void storeMacros() {
    std::vector<BYTE> owner(kOwnerInfoBytes, 0);
    const std::u16string ownerName = u"Sara Tehrani";
    std::memcpy(owner.data(), ownerName.data(), ownerName.size() * sizeof(WCHAR));
    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, owner);
    const std::pair<std::u16string, std::u16string> macros[] = {
        {u"سلام دوستان", u"سلام"},     {u"Hello world", u"Hello world"}, {u"تاریخ", u"@@DT0@@"},
        {u"Time", u"@@DT2@@"},         {u"نام من", u"@@MN@@"},           {u"Key Seq. 6", u""},
        {u"ایمیل", u"me@example.com"}, {u"Thanks", u"Thank you!"},       {u"خداحافظ", u"خداحافظ"},
        {u"Phone", u"@@MP@@"},
    };
    for (int i = 0; i < 10; ++i) {
        storeMacroText(numberedName(u"MacroName", i).c_str(), macros[i].first);
        storeMacroText(numberedName(u"MacroData", i).c_str(), macros[i].second);
    }
    storeMacroValue(u"MacroData5", REG_BINARY, {0x21, 0x0D, 0, 0, 0x22, 0x0D, 0, 0});
}

class MacroFaceScreenshot : public PanelTest {
protected:
    // Shows the first layout with a macros face; false when the skin has none.
    bool showMacrosFace() {
        for (int n = 0; n < 128; ++n) {
            panel->SwitchLayout(n);
            if (!panel->layout || (n > 0 && panel->layout->index == 0))
                return false;  // past the last layout
            if (panel->layout->flags & LF_MACROS)
                return true;
        }
        return false;
    }
    // Presses the face's record key by its row and column.
    void pressRecordKey() {
        const SkinLayout& layout = *panel->layout;
        for (int r = 0; r < layout.rowCount; ++r)
            for (int c = 0; c < layout.rowKeyCount[r]; ++c)
                if ((layout.keys[r][c].flags & KF_MACRO) && layout.keys[r][c].vk == kRecordKeyVk) {
                    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, r, c);
                    return;
                }
        ADD_FAILURE() << "the macros face has no record key";
    }
    // The screen row of the panel window's top.
    int panelTop() const {
        RECT r{};
        GetWindowRect(panelWindow(), &r);
        return r.top;
    }
    void saveShot(const std::string& name) {
        UpdateWindow(host->sipWindow());
        UpdateWindow(panelWindow());
        const std::filesystem::path folder = KELVO_SCREENSHOT_DIR;
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(device::saveScreenPng(folder / name));
        std::cout << "screenshot: " << (folder / name).string() << "\n";
    }
};

}  // namespace

TEST_F(MacroFaceScreenshot, FarsiAndLatinNamesOnTheScreen) {
    SYSTEMTIME now{2026, 12, 2, 8, 9, 30, 0, 0};
    device::setDeviceLocalTime(now);
    storeMacros();
    const std::filesystem::path defaultSkin = KELVO_DEFAULT_SKIN;
    bool fromDefaultSkin = false;
    if (std::filesystem::exists(defaultSkin)) {
        writeDeviceFile(u"\\Skins\\Kelvo.ksk", readHostFile(defaultSkin));
        setRegistryText(u"CurSkin", u"Kelvo");
        createPanel();
        fromDefaultSkin = showMacrosFace();
        if (!fromDefaultSkin) {
            panel.reset();
            UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
        }
    }
    if (!fromDefaultSkin) {
        std::cout << "The built default skin has no macros face: the screenshot shows the "
                     "macros layout this test draws.\n";
        setRegistryText(u"CurSkin", u"Test");
        Skin skin;
        skin.textColor = 0x00402010;
        skin.frameColor = 0x002020D0;
        skin.classes[u"P"] = {faceLayout()};
        writeSkin(skin);
        createPanel();
    }
    IMINFO info{};
    panel->LayoutPanel(info);
    InvalidateRect(panelWindow(), nullptr, FALSE);
    const std::string prefix = fromDefaultSkin ? "macros-default-skin" : "macros-test-layout";
    saveShot(prefix + ".png");

    if (!fromDefaultSkin) {
        // The Farsi name sits in the right half of its key, the Latin one in the left half.
        const device::ScreenImage image = device::copyScreen();
        const int top = panelTop();
        const uint32_t text = 0x102040;
        EXPECT_TRUE(anyPixel(image, 60, 117, top + 1, top + 19, text));
        EXPECT_FALSE(anyPixel(image, 3, 30, top + 1, top + 19, text));
        EXPECT_TRUE(anyPixel(image, 123, 150, top + 1, top + 19, text));
        EXPECT_FALSE(anyPixel(image, 210, 237, top + 1, top + 19, text));
    }

    pressRecordKey();  // armed: the record key is shown held down
    ASSERT_EQ(panel->recordCount, 0);
    InvalidateRect(panelWindow(), nullptr, FALSE);
    saveShot(prefix + "-recording.png");
    if (!fromDefaultSkin) {
        const size_t framePixel = static_cast<size_t>(panelTop() + 61) * 240 + 121;
        EXPECT_EQ(device::copyScreen().pixels[framePixel], 0xD02020u);
    }
}
