// The keyboard's hot paths against a baseline in the same run: a tap (stylus down and up on a
// character key) through the panel's handlers, and a layout switch (open the skin file, seek to
// the layout, read it, decode its 240 x 80 PNG picture) against a bare decode of the same PNG
// bytes through the imaging factory. Prints the switch-to-decode ratio at the end.
#include <benchmark/benchmark.h>
#include <imaging.h>
#include <objbase.h>

#include <PanelBench.h>

#include <cstdio>

namespace {

// Calls timed for the printed ratio.
constexpr int kCalls = 300;

// Two layouts of two keys, each with a 240 x 80 PNG picture of its own.
skintest::Skin twoLayoutSkin() {
    skintest::Skin skin;
    for (uint8_t tint : {0, 60}) {
        skintest::Layout layout;
        layout.picture = gridPicturePng(240, 80, 40, tint);
        layout.rows = {{skintest::charKey(u'a', 0x41, {0, 0, 40, 40}),
                        skintest::charKey(u'b', 0x42, {40, 0, 80, 40})}};
        skin.classes[u"P"].push_back(layout);
    }
    return skin;
}

struct Bench {
    skintest::Skin skin = twoLayoutSkin();
    PanelBenchDevice device{skin, 80, SIZE{240, 320}};
    const std::string& picture() const { return skin.classes.at(u"P")[0].picture; }
};

Bench& bench() {
    static Bench bench;
    return bench;
}

void tap() {
    CMyPanel& panel = bench().device.panel();
    panel.OnLButtonDown(0, CPoint(20, 20));
    panel.OnLButtonUp(0, CPoint(20, 20));
    bench().device.host().callback().calls.clear();
}

int g_target = 0;
void switchLayout() {
    g_target ^= 1;
    bench().device.panel().SwitchLayout(g_target);
}

void bareDecode() {
    IImagingFactory* factory = nullptr;
    CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                     reinterpret_cast<void**>(&factory));
    IImage* image = nullptr;
    const std::string& bytes = bench().picture();
    factory->CreateImageFromBuffer(bytes.data(), static_cast<UINT>(bytes.size()),
                                   BufferDisposalFlagNone, &image);
    ImageInfo info{};
    image->GetImageInfo(&info);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, static_cast<int>(info.Width), static_cast<int>(info.Height));
    ReleaseDC(nullptr, screen);
    HDC dc = bench().device.panel().skinDC.GetSafeHdc();
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

}  // namespace

BENCHMARK(BM_TapOnCharacterKey);
BENCHMARK(BM_LayoutSwitchWithPngPicture);
BENCHMARK(BM_BareDecodeOfTheSamePng);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const double decodeNs = nanosecondsPerCall(bareDecode, kCalls);
    CoUninitialize();
    const double switchNs = nanosecondsPerCall(switchLayout, kCalls);
    std::printf("layout switch %.0f ns, bare decode %.0f ns: ratio %.2f (aim: at most 1.5)\n",
                switchNs, decodeNs, switchNs / decodeNs);
    benchmark::Shutdown();
    return 0;
}
