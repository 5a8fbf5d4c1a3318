// Painting the macros face: names laid out through CBidiPara (so a Farsi name is shaped,
// ordered for display and right-aligned), the live text of date, time and owner macros, and
// the record key shown pushed while a recording is armed or running.
#include "panel/MacroLabels.h"

#include "farsiedit/CBidiPara.h"
#include "panel/MacroExpansion.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

// The key's piece of the picture one pixel right and down, as a pressed key is shown.
void pushedLook(CMyPanel& panel, CDC& dc, const RECT& r) {
    if (panel.skinDC.GetSafeHdc() == nullptr || panel.layout->bitmap == nullptr)
        return;
    HGDIOBJ kept = ::SelectObject(panel.skinDC, panel.layout->bitmap);
    dc.BitBlt(r.left + 1, r.top + 1, r.right - r.left - 1, r.bottom - r.top - 1, &panel.skinDC,
              r.left, r.top, SRCCOPY);
    ::SelectObject(panel.skinDC, kept);
}

void frameEdges(CDC& dc, HBRUSH brush, const RECT& q) {
    const RECT edges[] = {{q.left, q.top, q.right, q.top + 1},
                          {q.right - 1, q.top, q.right, q.bottom},
                          {q.left, q.bottom - 1, q.right, q.bottom},
                          {q.left, q.top, q.left + 1, q.bottom}};
    for (const RECT& edge : edges)
        dc.FillRect(&edge, brush);
}

void frame(CMyPanel& panel, CDC& dc, const RECT& r) {
    CBrush brush(panel.frameColor);
    RECT q{r.left + 1, r.top + 1, r.right, r.bottom};
    frameEdges(dc, brush, q);
    if (panel.scale == 2) {
        InflateRect(&q, -1, -1);
        frameEdges(dc, brush, q);
    }
}

// The faces' font: bold Tahoma, its character height five eighths of the first key's height.
CFont& labelFont(CMyPanel& panel) {
    if (!panel.labelFont) {
        const RECT& first = panel.layout->keys[0][0].rect;
        LOGFONTW font{};
        font.lfHeight = -((first.bottom - first.top) * 5 / 8);
        font.lfWeight = FW_BOLD;
        font.lfCharSet = DEFAULT_CHARSET;
        std::u16string_view face = u"Tahoma";
        face.copy(font.lfFaceName, face.size());
        panel.labelFont = std::make_unique<CFont>();
        panel.labelFont->CreateFontIndirect(&font);
    }
    return *panel.labelFont;
}

}  // namespace

void PaintMacroLabels(CMyPanel& panel, CDC& dc) {
    if (!panel.layout)
        return;
    SkinLayout& layout = *panel.layout;
    if (panel.recordCount >= 0) {
        if (const KeyRecord* recordKey =
                layout.keyAtRowCol(panel.recordKeyPos[0], panel.recordKeyPos[1])) {
            pushedLook(panel, dc, recordKey->rect);
            frame(panel, dc, recordKey->rect);
        }
    }
    HGDIOBJ keptFont = ::SelectObject(dc, static_cast<HFONT>(labelFont(panel)));
    const int keptMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF keptColor = dc.SetTextColor(panel.textColor);
    const int inset = 3 * panel.scale;
    for (int row = 0; row < layout.rowCount && row < kMaxRows; ++row) {
        for (int col = 0; col < layout.rowKeyCount[row] && col < kMaxKeysPerRow; ++col) {
            const KeyRecord& key = layout.keys[row][col];
            if (!(key.flags & KF_MACRO) || key.vk != 0 || key.param >= kMacroCount)
                continue;
            RECT r = key.rect;
            if (panel.gesture == kGestureTap && panel.pressedKey == &key)
                OffsetRect(&r, 1, 1);
            const MacroEntry& entry = MacroTable[key.param];
            CBidiPara para;
            para.SetText(entry.name.c_str());
            para.Layout();
            para.Wrap(dc, -1);
            std::u16string label = entry.kind >= MacroDate && entry.kind <= MacroMyPhone
                                       ? ExpandMacro(entry)
                                       : para.LineGlyphs(0);
            r.left += inset;
            r.right -= inset;
            r.top += 1;
            r.bottom -= 1;
            UINT format = DT_VCENTER;
            if (para.baseLevel == 1)
                format |= DT_RIGHT;
            dc.DrawText(label.c_str(), static_cast<int>(label.size()), &r, format);
        }
    }
    dc.SetTextColor(keptColor);
    dc.SetBkMode(keptMode);
    ::SelectObject(dc, keptFont);
}
