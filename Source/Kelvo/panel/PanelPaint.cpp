// Painting the panel: the layout's picture, the pressed or stroked key shifted one pixel right
// and down with a frame, the latched modifiers, then the faces of the layout on show.
#include "panel/MyPanel.h"
#include "panel/PanelFunctions.h"

namespace {

// The key's piece of the picture selected in `source`, one pixel right and down.
void pushed(CDC& target, CDC& source, const RECT& r) {
    target.BitBlt(r.left + 1, r.top + 1, r.right - r.left - 1, r.bottom - r.top - 1, &source,
                  r.left, r.top, SRCCOPY);
}

void frameEdges(CDC& target, HBRUSH brush, const RECT& q) {
    RECT top{q.left, q.top, q.right, q.top + 1};
    RECT right{q.right - 1, q.top, q.right, q.bottom};
    RECT bottom{q.left, q.bottom - 1, q.right, q.bottom};
    RECT left{q.left, q.top, q.left + 1, q.bottom};
    target.FillRect(&top, brush);
    target.FillRect(&right, brush);
    target.FillRect(&bottom, brush);
    target.FillRect(&left, brush);
}

}  // namespace

void CMyPanel::OnPaint() {
    CPaintDC dc(this);
    if (!layout)
        return;
    HGDIOBJ kept = skinDC.GetSafeHdc() ? ::SelectObject(skinDC, layout->bitmap) : nullptr;
    if (layout->bitmap != nullptr)
        dc.BitBlt(0, 0, panelRect.right - panelRect.left, panelRect.bottom - panelRect.top, &skinDC,
                  0, 0, SRCCOPY);

    auto frame = [&](const RECT& r) {
        CBrush brush(frameColor);
        RECT q{r.left + 1, r.top + 1, r.right, r.bottom};
        frameEdges(dc, brush, q);
        if (scale == 2) {
            InflateRect(&q, -1, -1);
            frameEdges(dc, brush, q);
        }
    };
    auto fromAlternate = [&](const RECT& r) {
        if (altLayout && altLayout->bitmap != nullptr) {
            ::SelectObject(skinDC, altLayout->bitmap);
            pushed(dc, skinDC, r);
            ::SelectObject(skinDC, layout->bitmap);
        }
    };

    // A press whose layout was switched away has no key to show.
    const KeyRecord* pressed = pressedKey;
    switch (gesture) {
        case kGestureTap:
            if (pressed != nullptr)
                pushed(dc, skinDC, pressed->rect);
            break;
        case kGestureUp:
            if (pressed != nullptr && layout->altIndex >= 0 && pressed->flags == KF_OUTPUT) {
                fromAlternate(pressed->rect);
                frame(pressed->rect);
            }
            break;
        case kGestureRight:
        case kGestureDown: {
            const KeyRecord* key = gesture == kGestureRight ? layout->rightKey : layout->downKey;
            if (key != nullptr) {
                pushed(dc, skinDC, key->rect);
                frame(key->rect);
            }
            break;
        }
        case kGestureLeft:
            if (const KeyRecord* key = layout->leftKey) {
                if (key->param != 8 && layout->altIndex >= 0) {
                    fromAlternate(key->rect);
                } else {
                    pushed(dc, skinDC, key->rect);
                }
                frame(key->rect);
            }
            break;
        default:
            break;
    }

    for (int s = 1; s <= kModifierSlots; ++s) {
        if (modSlot[s - 1] != nullptr && latched[s - 1]) {
            pushed(dc, skinDC, modSlot[s - 1]->rect);
            frame(modSlot[s - 1]->rect);
        }
    }
    if (g_panelFunctions.paintFaces)
        g_panelFunctions.paintFaces(*this, dc);
    if (skinDC.GetSafeHdc())
        ::SelectObject(skinDC, kept);
}
