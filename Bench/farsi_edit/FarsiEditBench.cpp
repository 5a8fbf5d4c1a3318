// Typing one character at the end of a long paragraph in a Notes-sized Farsi edit control:
// the insertion, the paragraph laid out and wrapped again, and one paint, for paragraphs of
// 5,000 and 50,000 characters, of Farsi words and of one long word (a held key). Each is
// compared with the layout's own pass over the same paragraph (Layout and Wrap at the
// control's width): the cost per character must not grow faster than that pass does.
#include <benchmark/benchmark.h>
#include <device/Clock.h>
#include <device/FileSystem.h>
#include <device/Scheduler.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "farsiedit/CFarsiEdit.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 268;
constexpr WCHAR kTyped = 0x0633;  // seen

enum class Text { Words, OneWord };

std::u16string paragraph(Text kind, size_t length) {
    const std::u16string words =
        u"\u0633\u0644\u0627\u0645 \u062f\u0646\u06cc\u0627 \u0645\u0646 \u0628\u0627 "
        u"\u06a9\u0644\u0648\u0648 \u0645\u06cc \u0646\u0648\u06cc\u0633\u0645 ";
    std::u16string out;
    while (out.size() < length)
        out += kind == Text::Words ? words : std::u16string(1, kTyped);
    out.resize(length);
    return out;
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
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
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.lpszClassName = u"BenchHost";
        RegisterClassW(&wc);
        host = CreateWindowExW(0, u"BenchHost", u"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                               kHeight, nullptr, nullptr, nullptr, nullptr);
        hostWnd.Attach(host);
        // As Notes has it.
        edit = std::make_unique<CFarsiEdit>();
        edit->Create(WS_CHILD | WS_VISIBLE | FES_MULTILINE | FES_WANTRETURN | FES_VSCROLL |
                         FES_BYDIRECTION | FES_RIGHT,
                     RECT{0, 0, kWidth, kHeight}, &hostWnd, 1);
        edit->SetFont(-12, FALSE, FALSE, FALSE);
        SetFocus(edit->GetSafeHwnd());
        pump();
    }
    ~Device() {
        edit.reset();
        hostWnd.Detach();
        DestroyWindow(host);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    static void pump() {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    // The text, the caret at its end.
    void start(const std::u16string& text) {
        SendMessageW(edit->GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(edit->GetSafeHwnd(), WM_KEYDOWN, VK_NEXT, 0);
        edit->SelectRange(0, static_cast<int>(text.size()) - 1, 0, static_cast<int>(text.size()) - 1);
        edit->EndOfLine();
        pump();
    }
    void typeOne() { SendMessageW(edit->GetSafeHwnd(), WM_CHAR, kTyped, 0x00390001); }

    std::filesystem::path root;
    HWND host = nullptr;
    CWnd hostWnd;
    std::unique_ptr<CFarsiEdit> edit;
};

Device& bench() {
    static Device device;
    return device;
}

// Characters typed before the paragraph is set back to its length.
constexpr int kRun = 100;

double typingMicroseconds(Text kind, size_t length, int runs) {
    Device& d = bench();
    const std::u16string text = paragraph(kind, length);
    double total = 0;
    for (int r = 0; r < runs; ++r) {
        d.start(text);
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < kRun; ++i)
            d.typeOne();
        total += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() -
                                                           begin)
                     .count();
    }
    if (d.edit->Paragraphs().at(0)->length != static_cast<int>(length) + kRun)
        std::abort();
    return total / (runs * kRun);
}

double layoutMicroseconds(Text kind, size_t length, int runs) {
    Device& d = bench();
    const std::u16string text = paragraph(kind, length);
    CBidiPara para;
    para.SetText(text.c_str());
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW f{};
    f.lfHeight = -12;
    const std::u16string_view face = u"Tahoma";
    std::copy(face.begin(), face.end(), f.lfFaceName);
    HFONT font = CreateFontIndirectW(&f);
    HGDIOBJ kept = SelectObject(dc, font);
    const int width = d.edit->InnerRect().Width();
    const auto begin = std::chrono::steady_clock::now();
    for (int r = 0; r < runs; ++r) {
        para.Layout();
        para.Wrap(dc, width);
    }
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count();
    SelectObject(dc, kept);
    DeleteObject(font);
    DeleteDC(dc);
    return us / runs;
}

void BM_TypeAtTheEndOfAParagraph(benchmark::State& state, Text kind) {
    Device& d = bench();
    const auto length = static_cast<size_t>(state.range(0));
    const std::u16string text = paragraph(kind, length);
    int typed = 0;
    d.start(text);
    for (auto _ : state) {
        if (typed == kRun) {
            state.PauseTiming();
            d.start(text);
            typed = 0;
            state.ResumeTiming();
        }
        d.typeOne();
        ++typed;
    }
}

void BM_TypeIntoFarsiWords(benchmark::State& state) {
    BM_TypeAtTheEndOfAParagraph(state, Text::Words);
}
void BM_TypeIntoOneLongWord(benchmark::State& state) {
    BM_TypeAtTheEndOfAParagraph(state, Text::OneWord);
}

BENCHMARK(BM_TypeIntoFarsiWords)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeIntoOneLongWord)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);

void report(const char* name, Text kind) {
    const double small = typingMicroseconds(kind, 5000, 10);
    const double large = typingMicroseconds(kind, 50000, 3);
    const double layoutSmall = layoutMicroseconds(kind, 5000, 200);
    const double layoutLarge = layoutMicroseconds(kind, 50000, 20);
    std::printf("%s: a character typed at the end of 5,000 characters %.0f us, of 50,000 %.0f us "
                "(ratio %.2f); the layout's pass alone %.0f us and %.0f us (ratio %.2f)\n",
                name, small, large, large / small, layoutSmall, layoutLarge,
                layoutLarge / layoutSmall);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    report("Farsi words", Text::Words);
    report("one long word (a held key)", Text::OneWord);
    benchmark::Shutdown();
    return 0;
}
