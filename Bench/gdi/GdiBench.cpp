// GDI hot paths against baselines in the same run: a SRCCOPY BitBlt between two 480 x 160
// memory bitmaps against memcpy of the same bytes, and measuring a 50-character string with
// a warm glyph cache. Prints the BitBlt-to-memcpy ratio at the end.
#include <benchmark/benchmark.h>
#include <wingdi.h>

#include <Timing.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 160;
// Calls timed for the printed ratio.
constexpr int kCalls = 2000;

struct Bitmap32 {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    void* bits = nullptr;
    Bitmap32() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Bitmap32() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

double g_blitNs = 0;
double g_memcpyNs = 0;

void BM_BitBltSrcCopy(benchmark::State& state) {
    Bitmap32 source;
    Bitmap32 dest;
    std::memset(source.bits, 0x5A, size_t{kWidth} * kHeight * 4);
    for (auto _ : state) {
        BitBlt(dest.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}

void BM_MemcpySameBytes(benchmark::State& state) {
    std::vector<uint32_t> source(size_t{kWidth} * kHeight, 0x5A5A5A5Au);
    std::vector<uint32_t> dest(source.size());
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), source.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}

void BM_TextExtentFiftyCharacters(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW f{};
    f.lfHeight = -12;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), f.lfFaceName);
    HFONT font = CreateFontIndirectW(&f);
    HGDIOBJ old = SelectObject(dc, font);
    const std::u16string text = u"The quick brown fox jumps over the lazy dog 012345";
    int partial[64];
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, text.data(), 50, 200, &fit, partial, &size);  // warm the cache
    for (auto _ : state) {
        GetTextExtentExPointW(dc, text.data(), 50, 200, &fit, partial, &size);
        benchmark::DoNotOptimize(size);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

void measureRatio() {
    Bitmap32 source;
    Bitmap32 dest;
    std::vector<uint32_t> a(size_t{kWidth} * kHeight, 1u);
    std::vector<uint32_t> b(a.size());
    g_memcpyNs = nanosecondsPerCall(
        [&] {
            std::memcpy(b.data(), a.data(), a.size() * 4);
            benchmark::ClobberMemory();
        },
        kCalls);
    g_blitNs = nanosecondsPerCall(
        [&] {
            BitBlt(dest.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY);
            benchmark::ClobberMemory();
        },
        kCalls);
}

}  // namespace

BENCHMARK(BM_BitBltSrcCopy);
BENCHMARK(BM_MemcpySameBytes);
BENCHMARK(BM_TextExtentFiftyCharacters);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    measureRatio();
    std::printf("BitBlt SRCCOPY %dx%d: %.0f ns, memcpy: %.0f ns, ratio %.2f (aim: at most 2)\n",
                kWidth, kHeight, g_blitNs, g_memcpyNs, g_blitNs / g_memcpyNs);
    benchmark::Shutdown();
    return 0;
}
