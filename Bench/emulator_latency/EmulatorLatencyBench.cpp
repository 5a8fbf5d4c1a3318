// The emulator's latency and frame cost on a provisioned device of its own (virtual clock):
// from a stylus up on a key of the Latin layout to the character in Notes' text, against a
// character injected straight into Notes (the same delivery without the keyboard); and a
// full-screen repaint of the headless compositor against copying the screen out. Prints the
// median tap latency and both ratios at the end.
#include <benchmark/benchmark.h>
#include <device/Display.h>
#include <device/Input.h>
#include <device/Screen.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Emulator.h"
#include "shell/Shell.h"

namespace {

Emulator* g_emulator = nullptr;
POINT g_keyQ{};  // the 'q' key of the Latin layout, on the screen

LRESULT notesTextLength() {
    return SendMessageW(device::foregroundFocusWindow(), WM_GETTEXTLENGTH, 0, 0);
}

void clearNotes() {
    SendMessageW(device::foregroundFocusWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
}

// Nanoseconds from the stylus up on 'q' to the character in Notes' text.
double tapLatencyNs() {
    const LRESULT before = notesTextLength();
    device::stylusDown(g_keyQ.x, g_keyQ.y);
    g_emulator->settle();
    const auto start = std::chrono::steady_clock::now();
    device::stylusUp(g_keyQ.x, g_keyQ.y);
    do {
        g_emulator->settle();
    } while (notesTextLength() == before);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
        .count();
}

// The same for a character injected straight into Notes' window.
double directLatencyNs() {
    const LRESULT before = notesTextLength();
    const auto start = std::chrono::steady_clock::now();
    device::typeChar(u'q');
    do {
        g_emulator->settle();
    } while (notesTextLength() == before);
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
        .count();
}

BOOL CALLBACK invalidate(HWND window, LPARAM) {
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

// Every window repaints, then the front end copies the screen out.
void repaintFrame() {
    EnumWindows(invalidate, 0);
    g_emulator->settle();
    benchmark::DoNotOptimize(device::copyScreen());
}

void copyFrame() {
    benchmark::DoNotOptimize(device::copyScreen());
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <typename F>
double medianOf(int count, F f) {
    std::vector<double> samples;
    for (int i = 0; i < count; ++i) {
        if (i % 50 == 0)
            clearNotes();
        samples.push_back(f());
    }
    return median(samples);
}

template <typename F>
double nanosecondsPerCall(int calls, F f) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
               .count() /
           calls;
}

void BM_TapToCharacterInNotes(benchmark::State& state) {
    int taps = 0;
    for (auto _ : state) {
        if (++taps % 50 == 0)
            clearNotes();
        tapLatencyNs();
    }
}

void BM_CharacterInjectedIntoNotes(benchmark::State& state) {
    int taps = 0;
    for (auto _ : state) {
        if (++taps % 50 == 0)
            clearNotes();
        directLatencyNs();
    }
}

void BM_FullRepaintFrame(benchmark::State& state) {
    for (auto _ : state)
        repaintFrame();
}

void BM_ScreenCopyOnly(benchmark::State& state) {
    for (auto _ : state)
        copyFrame();
}

// Opens the device and finds 'q': switches to the Latin layout and taps where its first key
// lies, checking that 'q' is what arrives.
bool openDevice(Emulator& emulator, const std::filesystem::path& folder) {
    Options options;
    options.frontEnd = FrontEnd::Headless;
    options.clock = ClockKind::Virtual;
    options.deviceFolder = folder;
    options.reset = true;
    std::string error;
    if (!emulator.open(options, builtProvisionSources(), error)) {
        std::fprintf(stderr, "cannot open the device: %s\n", error.c_str());
        return false;
    }
    SIPINFO info{};
    info.cbSize = sizeof(info);
    WORD latin[] = {1, 2, 2};
    SipGetInfo(&info);
    info.dwImDataSize = sizeof(latin);
    info.pvImData = latin;
    SipSetInfo(&info);
    emulator.settle();
    RECT sip{};
    emulator.withShell([&](Shell& shell) { GetWindowRect(shell.inputPanel().sipWindow(), &sip); });
    g_keyQ = {sip.left + 8, sip.top + 10};
    clearNotes();
    tapLatencyNs();
    WCHAR text[4] = {};
    SendMessageW(device::foregroundFocusWindow(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text));
    if (text[0] != u'q') {
        std::fprintf(stderr, "the tap at %ld,%ld typed U+%04X, not q\n",
                     static_cast<long>(g_keyQ.x), static_cast<long>(g_keyQ.y), text[0]);
        return false;
    }
    return true;
}

}  // namespace

BENCHMARK(BM_TapToCharacterInNotes);
BENCHMARK(BM_CharacterInjectedIntoNotes);
BENCHMARK(BM_FullRepaintFrame);
BENCHMARK(BM_ScreenCopyOnly);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto folder = std::filesystem::temp_directory_path() / "kvemu-bench-device";
    Emulator emulator;
    g_emulator = &emulator;
    if (!openDevice(emulator, folder))
        return 1;
    benchmark::RunSpecifiedBenchmarks();

    const double tapNs = medianOf(300, tapLatencyNs);
    const double directNs = medianOf(300, directLatencyNs);
    const double frameNs = nanosecondsPerCall(100, repaintFrame);
    const double copyNs = nanosecondsPerCall(100, copyFrame);
    std::printf(
        "stylus up to character in Notes: median %.1f us over 300 taps; injected "
        "character %.1f us: ratio %.2f\n",
        tapNs / 1000, directNs / 1000, tapNs / directNs);
    std::printf(
        "headless compositor frame (every window repainted, screen copied): %.1f us; "
        "screen copy alone %.1f us: ratio %.2f\n",
        frameNs / 1000, copyNs / 1000, frameNs / copyNs);
    emulator.close();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    benchmark::Shutdown();
    return 0;
}
