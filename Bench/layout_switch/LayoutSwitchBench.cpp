// The keyboard's hot paths against a baseline in the same run: a tap (stylus down and up on a
// character key) through the panel's handlers, and a layout switch (open the skin file, seek to
// the layout, read it, decode its 240 x 80 PNG picture) against a bare decode of the same PNG
// bytes through the imaging factory. Prints the switch-to-decode ratio at the end.
#include <benchmark/benchmark.h>
#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Scheduler.h>
#include <imaging.h>
#include <objbase.h>
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

// A 240 x 80 RGB picture with some structure, PNG-encoded in memory.
std::string pngPicture(uint8_t tint) {
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
    png_set_IHDR(png, info, 240, 80, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(240 * 3);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 240; ++x) {
            const bool edge = x % 40 == 0 || y % 40 == 0;
            row[x * 3] = edge ? 0 : static_cast<png_byte>(x + tint);
            row[x * 3 + 1] = edge ? 0 : static_cast<png_byte>(y * 3);
            row[x * 3 + 2] = edge ? 0 : static_cast<png_byte>(200 - x / 2);
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
        host = std::make_unique<TestInputPanelHost>(80);
        skintest::Skin skin;
        for (uint8_t tint : {0, 60}) {
            skintest::Layout layout;
            layout.picture = pngPicture(tint);
            layout.rows = {{skintest::charKey(u'a', 0x41, {0, 0, 40, 40}),
                            skintest::charKey(u'b', 0x42, {40, 0, 80, 40})}};
            skin.classes[u"P"].push_back(layout);
        }
        picture = skin.classes[u"P"][0].picture;
        skintest::writeSkin(u"\\Kelvo.ksk", skin);
        panel = std::make_unique<CMyPanel>();
        panel->CreatePanelWindow(host->sipWindow());
        panel->callback = &host->callback();
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
    std::string picture;
};

Device& bench() {
    static Device device;
    return device;
}

void tap() {
    CMyPanel& panel = *bench().panel;
    panel.OnLButtonDown(0, CPoint(20, 20));
    panel.OnLButtonUp(0, CPoint(20, 20));
    bench().host->callback().calls.clear();
}

int g_target = 0;
void switchLayout() {
    g_target ^= 1;
    bench().panel->SwitchLayout(g_target);
}

void bareDecode() {
    IImagingFactory* factory = nullptr;
    CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                     reinterpret_cast<void**>(&factory));
    IImage* image = nullptr;
    const std::string& bytes = bench().picture;
    factory->CreateImageFromBuffer(bytes.data(), static_cast<UINT>(bytes.size()),
                                   BufferDisposalFlagNone, &image);
    ImageInfo info{};
    image->GetImageInfo(&info);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, static_cast<int>(info.Width), static_cast<int>(info.Height));
    ReleaseDC(nullptr, screen);
    HDC dc = bench().panel->skinDC.GetSafeHdc();
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT target{0, 0, static_cast<LONG>(info.Width), static_cast<LONG>(info.Height)};
    image->Draw(dc, &target, nullptr);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    image->Release();
    factory->Release();
}

void BM_TapOnCharacterKey(benchmark::State& state) {
    for (auto _ : state)
        tap();
}

void BM_LayoutSwitchWithPngPicture(benchmark::State& state) {
    for (auto _ : state)
        switchLayout();
}

void BM_BareDecodeOfTheSamePng(benchmark::State& state) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (auto _ : state)
        bareDecode();
    CoUninitialize();
}

template <typename F>
double nanosecondsPerCall(F f) {
    const int calls = 300;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
               .count() /
           calls;
}

}  // namespace

BENCHMARK(BM_TapOnCharacterKey);
BENCHMARK(BM_LayoutSwitchWithPngPicture);
BENCHMARK(BM_BareDecodeOfTheSamePng);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const double decodeNs = nanosecondsPerCall(bareDecode);
    CoUninitialize();
    const double switchNs = nanosecondsPerCall(switchLayout);
    std::printf("layout switch %.0f ns, bare decode %.0f ns: ratio %.2f (aim: at most 1.5)\n",
                switchNs, decodeNs, switchNs / decodeNs);
    benchmark::Shutdown();
    return 0;
}
