// Painting the macros face: names laid out through CBidiPara (so a Farsi name is shaped,
// ordered for display and right-aligned), the live text of date, time and owner macros, and
// the record key shown pushed while a recording is armed or running.
#include "panel/MacroLabels.h"

#include "farsiedit/CBidiPara.h"
#include "panel/MacroExpansion.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"
#include "panel/PanelPaint.h"

namespace {

// The record key held down: its piece of the layout's picture pushed, and framed.
void paintHeldRecordKey(CMyPanel& panel, CDC& dc) {
    const KeyRecord* recordKey =
        panel.layout->keyAtRowCol(panel.recordKeyPos[0], panel.recordKeyPos[1]);
    if (recordKey == nullptr)
        return;
    if (panel.skinDC.GetSafeHdc() != nullptr && panel.layout->bitmap != nullptr) {
        HGDIOBJ kept = ::SelectObject(panel.skinDC, panel.layout->bitmap);
        PaintPushed(dc, panel.skinDC, recordKey->rect);
        ::SelectObject(panel.skinDC, kept);
    }
    PaintFrame(panel, dc, recordKey->rect);
}

}  // namespace

void PaintMacroLabels(CMyPanel& panel, CDC& dc) {
    if (!panel.layout)
        return;
    SkinLayout& layout = *panel.layout;
    if (panel.recordCount >= 0)
        paintHeldRecordKey(panel, dc);
    FaceText text(panel, dc);
    const int inset = 3 * panel.scale;
    for (int row = 0; row < layout.rowCount && row < kMaxRows; ++row) {
        for (int col = 0; col < layout.rowKeyCount[row] && col < kMaxKeysPerRow; ++col) {
            const KeyRecord& key = layout.keys[row][col];
            if (!(key.flags & KF_MACRO) || key.vk != 0 || key.param >= kMacroCount ||
                !isPaintableRect(key.rect))
                continue;
            const MacroEntry& entry = MacroTable[key.param];
            // The name's paragraph direction aligns the label, whatever the label shows.
            CBidiPara para;
            para.SetText(entry.name.c_str());
            para.Layout();
            para.Wrap(dc, -1);
            const bool live = entry.kind >= MacroDate && entry.kind <= MacroMyPhone;
            const std::u16string label = live ? ExpandMacro(entry) : para.LineGlyphs(0);
            RECT r = faceKeyRect(panel, key);
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
}
