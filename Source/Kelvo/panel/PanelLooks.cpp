// The key looks and the text set-up the painting and its faces share.
#include <algorithm>

#include "panel/MyPanel.h"
#include "panel/PanelPaint.h"

namespace {

// No screen side is larger; a taller font would only cost memory to render.
constexpr int64_t kMaxLabelKeyHeight = 4096;

void frameEdges(CDC& target, HBRUSH brush, const RECT& q) {
    const RECT top{q.left, q.top, q.right, q.top + 1};
    const RECT right{q.right - 1, q.top, q.right, q.bottom};
    const RECT bottom{q.left, q.bottom - 1, q.right, q.bottom};
    const RECT left{q.left, q.top, q.left + 1, q.bottom};
    target.FillRect(&top, brush);
    target.FillRect(&right, brush);
    target.FillRect(&bottom, brush);
    target.FillRect(&left, brush);
}

}  // namespace

bool isPaintableRect(const RECT& r) {
    auto within = [](LONG v) { return v >= -kPaintCoordinateLimit && v <= kPaintCoordinateLimit; };
    return within(r.left) && within(r.top) && within(r.right) && within(r.bottom) &&
           r.left < r.right && r.top < r.bottom;
}

void PaintPushed(CDC& target, CDC& source, const RECT& r) {
    if (!isPaintableRect(r))
        return;
    target.BitBlt(r.left + 1, r.top + 1, r.right - r.left - 1, r.bottom - r.top - 1, &source,
                  r.left, r.top, SRCCOPY);
}

void PaintFrame(const CMyPanel& panel, CDC& target, const RECT& r) {
    if (!isPaintableRect(r))
        return;
    CBrush brush(panel.frameColor);
    RECT q{r.left + 1, r.top + 1, r.right, r.bottom};
    frameEdges(target, brush, q);
    if (panel.scale == 2) {
        InflateRect(&q, -1, -1);
        frameEdges(target, brush, q);
    }
}

RECT faceKeyRect(const CMyPanel& panel, const KeyRecord& key) {
    RECT r = key.rect;
    if (panel.gesture == kGestureTap && panel.pressedKey == &key)
        OffsetRect(&r, 1, 1);
    return r;
}

LONG labelFontHeight(int64_t firstKeyHeight) {
    const int64_t h = std::clamp<int64_t>(firstKeyHeight, -kMaxLabelKeyHeight, kMaxLabelKeyHeight);
    return static_cast<LONG>(-(h * 5 / 8));
}

FaceText::FaceText(CMyPanel& panel, CDC& dc) : m_dc(dc) {
    if (!panel.labelFont && panel.layout) {
        const KeyRecord* first = panel.layout->keyAtRowCol(0, 0);
        const int64_t h = first ? int64_t{first->rect.bottom} - first->rect.top : 0;
        LOGFONTW font{};
        font.lfHeight = labelFontHeight(h);
        font.lfWeight = FW_BOLD;
        font.lfCharSet = DEFAULT_CHARSET;
        std::copy_n(u"Tahoma", 7, font.lfFaceName);
        auto made = std::make_unique<CFont>();
        if (made->CreateFontIndirect(&font))
            panel.labelFont = std::move(made);
    }
    if (panel.labelFont)
        m_previousFont = ::SelectObject(dc, *panel.labelFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(panel.textColor);
}

FaceText::~FaceText() {
    if (m_previousFont != nullptr)
        ::SelectObject(m_dc, m_previousFont);
}
