// The panel's paint against its floor in the same run: a full paint of a 480 x 160 layout
// with a key held and two latched modifiers (picture, pushed pieces, frames), against one
// BitBlt of the same picture to the same window. Prints the paint-to-blit ratio at the end.
#include <benchmark/benchmark.h>
#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Scheduler.h>
#include <device/Screen.h>
#include <png.h>
#include <stdlib.h>

#include <TestInputPanelHost.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "SkinBuilder.h"
#include "panel/MyPanel.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 160;
constexpr int kKey = 40;

// A picture with some structure: a grid of keys over colour ramps, PNG-encoded in memory.
std::string pngPicture() {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<const char*>(data), length);
        },
        nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(kWidth * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool edge = x % kKey == 0 || y % kKey == 0;
            row[x * 3] = edge ? 0 : static_cast<png_byte>(x / 2);
            row[x * 3 + 1] = edge ? 0 : static_cast<png_byte>(y);
            row[x * 3 + 2] = edge ? 0 : static_cast<png_byte>(200 - x / 4);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct Device {
    Device() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        root = pattern;
        device::setDeviceRoot(root);
        device::useVirtualClock(0);
        device::enrolCurrentThread();
        device::setScreenSize(kWidth, 640);
        host = std::make_unique<TestInputPanelHost>(kHeight);

        skintest::Layout layout;
        layout.width = kWidth;
        layout.height = kHeight;
        layout.picture = pngPicture();
        layout.rows.resize(kHeight / kKey);
        for (int r = 0; r < kHeight / kKey; ++r) {
            for (int c = 0; c < kWidth / kKey; ++c) {
                const RECT rect{c * kKey, r * kKey, (c + 1) * kKey, (r + 1) * kKey};
                layout.rows[r].push_back(
                    skintest::charKey(static_cast<WCHAR>(u'a' + c), 0x41, rect));
            }
        }
        // Two latching modifiers of slots 2 and 3 at the start of row 1.
        layout.rows[1][0] = skintest::Key{0x2400, 0, 0x10, {0, kKey, kKey, 2 * kKey}};
        layout.rows[1][1] = skintest::Key{0x3400, 0, 0x11, {kKey, kKey, 2 * kKey, 2 * kKey}};
        skintest::Skin skin;
        skin.frameColor = 0x000000FF;
        skin.classes[u"PH"].push_back(layout);
        skintest::writeSkin(u"\\Kelvo.ksk", skin);

        panel = std::make_unique<CMyPanel>();
        panel->CreatePanelWindow(host->sipWindow());
        panel->callback = &host->callback();
        IMINFO info{};
        panel->LayoutPanel(info);
        for (int x : {kKey / 2, kKey + kKey / 2}) {
            panel->OnLButtonDown(0, CPoint(x, kKey + kKey / 2));
            panel->OnLButtonUp(0, CPoint(x, kKey + kKey / 2));
        }
        // A key held down: the virtual clock never moves, so it does not repeat.
        panel->OnLButtonDown(0, CPoint(kKey * 5 + 5, 5));
        host->callback().calls.clear();
        if (!panel->slotActive(2) || !panel->slotActive(3) || panel->pressedKey == nullptr)
            std::abort();
    }
    ~Device() {
        panel.reset();
        host.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::filesystem::path root;
    std::unique_ptr<TestInputPanelHost> host;
    std::unique_ptr<CMyPanel> panel;
};

Device& bench() {
    static Device device;
    return device;
}

void fullPaint() {
    CMyPanel& panel = *bench().panel;
    panel.Invalidate(FALSE);
    UpdateWindow(panel.GetSafeHwnd());
}

void singleBlit() {
    CMyPanel& panel = *bench().panel;
    HDC window = GetDC(panel.GetSafeHwnd());
    HGDIOBJ kept = SelectObject(panel.skinDC, panel.layout->bitmap);
    BitBlt(window, 0, 0, kWidth, kHeight, panel.skinDC, 0, 0, SRCCOPY);
    SelectObject(panel.skinDC, kept);
    ReleaseDC(panel.GetSafeHwnd(), window);
}

void BM_FullPaintWithHeldKeyAndTwoLatchedModifiers(benchmark::State& state) {
    for (auto _ : state)
        fullPaint();
}

void BM_SingleBlitOfThePicture(benchmark::State& state) {
    for (auto _ : state)
        singleBlit();
}

template <typename F>
double nanosecondsPerCall(F f) {
    const int calls = 2000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
               .count() /
           calls;
}

}  // namespace

BENCHMARK(BM_FullPaintWithHeldKeyAndTwoLatchedModifiers);
BENCHMARK(BM_SingleBlitOfThePicture);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double blitNs = nanosecondsPerCall(singleBlit);
    const double paintNs = nanosecondsPerCall(fullPaint);
    std::printf("full paint %.0f ns, single blit %.0f ns: ratio %.2f (aim: at most 2)\n", paintNs,
                blitNs, paintNs / blitNs);
    benchmark::Shutdown();
    return 0;
}
