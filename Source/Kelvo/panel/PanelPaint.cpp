// Painting the panel: the layout's picture, the pressed or stroked key shifted one pixel right
// and down with a frame, the latched modifiers, then the faces of the layout on show. There is
// no composed frame: everything is drawn straight onto the window's paint context.
#include <algorithm>

#include "panel/MacroLabels.h"
#include "panel/MyPanel.h"
#include "panel/PanelPaint.h"

namespace {

// The window is two pixels wider and one pixel taller than the picture; what the picture
// does not cover gets this grey.
constexpr COLORREF kMarginColor = RGB(128, 128, 128);

// The picture's size, or nothing for a layout without one.
SIZE pictureSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

void CMyPanel::OnPaint() {
    CPaintDC dc(this);
    if (!layout)
        return;
    const bool hasPicture = layout->bitmap != nullptr && skinDC.GetSafeHdc() != nullptr;
    HGDIOBJ kept = hasPicture ? ::SelectObject(skinDC, layout->bitmap) : nullptr;

    const SIZE picture = hasPicture ? pictureSize(layout->bitmap) : SIZE{0, 0};
    const LONG shownWidth = std::clamp<LONG>(picture.cx, 0, panelRect.right);
    const LONG shownHeight = std::clamp<LONG>(picture.cy, 0, panelRect.bottom);
    if (shownWidth > 0 && shownHeight > 0)
        dc.BitBlt(0, 0, shownWidth, shownHeight, &skinDC, 0, 0, SRCCOPY);
    {
        CBrush margin(kMarginColor);
        const RECT right{shownWidth, 0, panelRect.right, panelRect.bottom};
        const RECT below{0, shownHeight, shownWidth, panelRect.bottom};
        dc.FillRect(&right, margin);
        dc.FillRect(&below, margin);
    }

    // A layout without a picture has no pieces to push; its frames are still shown.
    auto pushed = [&](const RECT& r) {
        if (hasPicture)
            PaintPushed(dc, skinDC, r);
    };
    auto fromAlternate = [&](const RECT& r) {
        if (hasPicture && altLayout && altLayout->bitmap != nullptr) {
            ::SelectObject(skinDC, altLayout->bitmap);
            PaintPushed(dc, skinDC, r);
            ::SelectObject(skinDC, layout->bitmap);
        }
    };

    // A press whose layout was switched away has no key to show.
    const KeyRecord* pressed = pressedKey;
    switch (gesture) {
        case kGestureTap:
            if (pressed != nullptr)
                pushed(pressed->rect);
            break;
        case kGestureUp:
            if (pressed != nullptr && layout->altIndex >= 0 && pressed->flags == KF_OUTPUT) {
                fromAlternate(pressed->rect);
                PaintFrame(*this, dc, pressed->rect);
            }
            break;
        case kGestureRight:
        case kGestureDown: {
            const KeyRecord* key = gesture == kGestureRight ? layout->rightKey : layout->downKey;
            if (key != nullptr) {
                pushed(key->rect);
                PaintFrame(*this, dc, key->rect);
            }
            break;
        }
        case kGestureLeft:
            if (const KeyRecord* key = layout->leftKey) {
                if (key->param != 8 && layout->altIndex >= 0) {
                    fromAlternate(key->rect);
                } else {
                    pushed(key->rect);
                }
                PaintFrame(*this, dc, key->rect);
            }
            break;
        default:
            break;
    }

    for (int s = 1; s <= kModifierSlots; ++s) {
        if (modSlot[s - 1] != nullptr && latched[s - 1]) {
            pushed(modSlot[s - 1]->rect);
            PaintFrame(*this, dc, modSlot[s - 1]->rect);
        }
    }

    if (layout->flags & LF_CALC)
        PaintCalcDisplay(*this, dc);
    if (layout->flags & LF_TASKS)
        PaintTaskList(*this, dc);
    if (layout->flags & LF_MACROS)
        PaintMacroLabels(*this, dc);
    if (layout->flags & LF_LAUNCHER)
        PaintProgramIcons(*this, dc);

    if (hasPicture)
        ::SelectObject(skinDC, kept);
}
