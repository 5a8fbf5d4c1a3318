// One-line texts through the bidi paragraph layout.
#include "programs/common/DisplayText.h"

#include <windows.h>

#include <algorithm>

#include "farsiedit/CBidiPara.h"

namespace {

// A one-line text longer than this cannot be shown whole on any screen; the rest is left out
// before the layout so that a hostile name costs nothing.
constexpr size_t kMaxShownUnits = 512;
constexpr char16_t kEllipsis[] = u"\u2026";

bool isMark(char16_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x064B && c <= 0x065F) || c == 0x0670;
}

}  // namespace

DisplayGlyphs displayGlyphs(HDC dc, std::u16string_view text) {
    const size_t end = text.find_first_of(u"\r\n\u2029");
    std::u16string line(text.substr(0, std::min({end, text.size(), kMaxShownUnits})));
    DisplayGlyphs shown;
    if (line.empty())
        return shown;
    CBidiPara para;
    para.SetText(line.c_str());
    para.Layout();
    para.Wrap(dc, 0);
    shown.glyphs = para.LineGlyphs(0);
    shown.rightToLeft = (para.baseLevel & 1) != 0;
    return shown;
}

int displayWidth(HDC dc, std::u16string_view text) {
    const DisplayGlyphs shown = displayGlyphs(dc, text);
    return CBidiPara::TextWidth(dc, shown.glyphs.data(), static_cast<int>(shown.glyphs.size()));
}

void drawDisplayText(HDC dc, const RECT& box, std::u16string_view text, TextAlign align) {
    DisplayGlyphs shown = displayGlyphs(dc, text);
    std::u16string& glyphs = shown.glyphs;
    const int room = box.right - box.left;
    auto widthOf = [dc](const std::u16string& g) {
        return CBidiPara::TextWidth(dc, g.data(), static_cast<int>(g.size()));
    };
    int width = widthOf(glyphs);
    if (width > room && !glyphs.empty()) {
        const int ellipsis = CBidiPara::TextWidth(dc, kEllipsis, 1);
        // Glyphs leave from the logical end, each with the marks it carries.
        while (!glyphs.empty() && widthOf(glyphs) + ellipsis > room) {
            if (shown.rightToLeft) {
                glyphs.erase(0, 1);
                while (!glyphs.empty() && isMark(glyphs.front()))
                    glyphs.erase(0, 1);
            } else {
                while (!glyphs.empty() && isMark(glyphs.back()))
                    glyphs.pop_back();
                if (!glyphs.empty())
                    glyphs.pop_back();
            }
        }
        glyphs = shown.rightToLeft ? kEllipsis + glyphs : glyphs + kEllipsis;
        width = widthOf(glyphs);
    }
    int x = box.left;
    if (align == TextAlign::Centre)
        x = box.left + (room - width) / 2;
    else if (align == TextAlign::Right)
        x = box.right - width;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int y = box.top + (box.bottom - box.top - metrics.tmHeight) / 2;
    SetBkMode(dc, TRANSPARENT);
    CBidiPara::DrawRuns(dc, x, y, &box, glyphs.data(), static_cast<int>(glyphs.size()));
}
