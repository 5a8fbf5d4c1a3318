// Device processes draw from threads of their own: GDI calls from several threads at once
// keep their objects and pixels apart.
#include <thread>
#include <vector>

#include "GdiTestSupport.h"

namespace {

TEST(Threads, ConcurrentDrawingAndObjectChurnStayConsistent) {
    constexpr int kThreads = 3;
    constexpr int kRounds = 150;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            gditest::MemoryCanvas canvas(32, 16);
            COLORREF colour = RGB(40 * t, 255 - 40 * t, 7 * t);
            for (int i = 0; i < kRounds; ++i) {
                HBRUSH brush = CreateSolidBrush(colour);
                RECT r{0, 0, 32, 16};
                FillRect(canvas.dc, &r, brush);
                LOGFONTW f{};
                f.lfHeight = -(8 + (i % 5));
                HFONT font = CreateFontIndirectW(&f);
                HGDIOBJ old = SelectObject(canvas.dc, font);
                SetBkMode(canvas.dc, TRANSPARENT);
                TextOutW(canvas.dc, 20, 2, u"ab", 2);
                SIZE s{};
                GetTextExtentPoint32W(canvas.dc, u"ab", 2, &s);
                SelectObject(canvas.dc, old);
                if (!DeleteObject(font) || !DeleteObject(brush) || s.cx <= 0 ||
                    canvas.at(1, 1) != colour) {
                    ++failures[t];
                }
            }
        });
    }
    for (std::thread& th : threads) {
        th.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[t], 0) << t;
    }
}

}  // namespace
