// The panel's paint against its floor in the same run: a full paint of a 480 x 160 layout
// with a key held and two latched modifiers (picture, pushed pieces, frames), against one
// BitBlt of the same picture to the same window. Prints the paint-to-blit ratio at the end.
#include <benchmark/benchmark.h>

#include <PanelBench.h>

#include <cstdio>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 160;
constexpr int kKey = 40;
// Calls timed for the printed ratio.
constexpr int kCalls = 2000;

// One layout filling the panel with 40-pixel keys; two latching modifiers of slots 2 and 3
// start row 1.
skintest::Skin keyGridSkin() {
    skintest::Layout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.picture = gridPicturePng(kWidth, kHeight, kKey);
    layout.rows.resize(kHeight / kKey);
    for (int r = 0; r < kHeight / kKey; ++r) {
        for (int c = 0; c < kWidth / kKey; ++c) {
            const RECT rect{c * kKey, r * kKey, (c + 1) * kKey, (r + 1) * kKey};
            layout.rows[r].push_back(skintest::charKey(static_cast<WCHAR>(u'a' + c), 0x41, rect));
        }
    }
    layout.rows[1][0] = skintest::Key{0x2400, 0, 0x10, {0, kKey, kKey, 2 * kKey}};
    layout.rows[1][1] = skintest::Key{0x3400, 0, 0x11, {kKey, kKey, 2 * kKey, 2 * kKey}};
    skintest::Skin skin;
    skin.frameColor = 0x000000FF;
    skin.classes[u"PH"].push_back(layout);
    return skin;
}

// The panel shown with both modifiers latched and a key held down.
struct Bench {
    Bench() {
        CMyPanel& panel = device.panel();
        IMINFO info{};
        panel.LayoutPanel(info);
        for (int x : {kKey / 2, kKey + kKey / 2}) {
            panel.OnLButtonDown(0, CPoint(x, kKey + kKey / 2));
            panel.OnLButtonUp(0, CPoint(x, kKey + kKey / 2));
        }
        // The virtual clock never moves, so the held key does not repeat.
        panel.OnLButtonDown(0, CPoint(kKey * 5 + 5, 5));
        device.host().callback().calls.clear();
        if (!panel.slotActive(2) || !panel.slotActive(3) || panel.pressedKey == nullptr)
            std::abort();
    }
    PanelBenchDevice device{keyGridSkin(), kHeight, SIZE{kWidth, 640}};
};

CMyPanel& shownPanel() {
    static Bench bench;
    return bench.device.panel();
}

void fullPaint() {
    shownPanel().Invalidate(FALSE);
    UpdateWindow(shownPanel().GetSafeHwnd());
}

void singleBlit() {
    CMyPanel& panel = shownPanel();
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

}  // namespace

BENCHMARK(BM_FullPaintWithHeldKeyAndTwoLatchedModifiers);
BENCHMARK(BM_SingleBlitOfThePicture);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double blitNs = nanosecondsPerCall(singleBlit, kCalls);
    const double paintNs = nanosecondsPerCall(fullPaint, kCalls);
    std::printf("full paint %.0f ns, single blit %.0f ns: ratio %.2f (aim: at most 2)\n", paintNs,
                blitNs, paintNs / blitNs);
    benchmark::Shutdown();
    return 0;
}
