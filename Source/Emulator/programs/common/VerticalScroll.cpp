// Scrolling the device programs' lists and pages.
#include "programs/common/VerticalScroll.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "programs/common/GdiScope.h"

namespace {

constexpr COLORREF kTrackColour = RGB(226, 230, 238);
constexpr COLORREF kThumbColour = RGB(120, 136, 170);
// The thumb never shrinks below this, so that it stays easy to hit.
constexpr int kMinThumb = 12;

}  // namespace

void VerticalScroll::setExtent(int contentHeight, int viewHeight) {
    m_content = std::max(0, contentHeight);
    m_view = std::max(0, viewHeight);
    m_top = std::clamp(m_top, 0, maxTop());
}

int VerticalScroll::maxTop() const {
    return std::max(0, m_content - m_view);
}

bool VerticalScroll::scrollTo(int top) {
    const int wanted = std::clamp(top, 0, maxTop());
    if (wanted == m_top)
        return false;
    m_top = wanted;
    return true;
}

bool VerticalScroll::scrollBy(int delta) {
    // Wide arithmetic: a key held down on a huge page must not overflow.
    const long long wanted = static_cast<long long>(m_top) + delta;
    return scrollTo(static_cast<int>(std::clamp<long long>(wanted, 0, maxTop())));
}

bool VerticalScroll::reveal(int y, int height) {
    if (y < m_top)
        return scrollTo(y);
    if (y + height > m_top + m_view)
        return scrollTo(std::min(y, y + height - m_view));
    return false;
}

RECT VerticalScroll::thumb(const RECT& track) const {
    const int trackHeight = track.bottom - track.top;
    if (m_content <= m_view || trackHeight <= 0)
        return RECT{track.left, track.top, track.left, track.top};
    const long long length = std::max<long long>(
        std::min(kMinThumb, trackHeight), static_cast<long long>(trackHeight) * m_view / m_content);
    const long long travel = trackHeight - length;
    const long long offset = maxTop() > 0 ? travel * m_top / maxTop() : 0;
    const int top = track.top + static_cast<int>(offset);
    return RECT{track.left, top, track.right, top + static_cast<int>(length)};
}

bool VerticalScroll::thumbTo(int penY) {
    const RECT t = thumb(m_track);
    const int length = t.bottom - t.top;
    const int travel = (m_track.bottom - m_track.top) - length;
    if (travel <= 0)
        return false;
    const long long offset = std::clamp(penY - m_track.top - length / 2, 0, travel);
    return scrollTo(static_cast<int>(offset * maxTop() / travel));
}

void VerticalScroll::press(POINT point, const RECT& track, int slop) {
    m_pressed = point;
    m_topAtPress = m_top;
    m_slop = slop;
    m_track = track;
    if (m_content > m_view && PtInRect(&track, point)) {
        m_mode = Mode::Thumb;
        thumbTo(point.y);
        return;
    }
    m_mode = Mode::Pressed;
}

bool VerticalScroll::move(POINT point) {
    switch (m_mode) {
        case Mode::Thumb:
            return thumbTo(point.y);
        case Mode::Pressed:
            if (std::abs(point.y - m_pressed.y) <= m_slop &&
                std::abs(point.x - m_pressed.x) <= m_slop)
                return false;
            m_mode = Mode::Content;
            [[fallthrough]];
        case Mode::Content:
            // The content follows the pen: dragging down shows what lies above.
            return scrollTo(m_topAtPress - (point.y - m_pressed.y));
        case Mode::None:
            return false;
    }
    return false;
}

bool VerticalScroll::release() {
    const bool tap = m_mode == Mode::Pressed;
    m_mode = Mode::None;
    return tap;
}

RECT scrollIndicatorTrack(const RECT& view, int scale) {
    return RECT{view.right - kScrollIndicatorWidth * scale, view.top, view.right, view.bottom};
}

void VerticalScroll::drawIndicator(HDC dc, const RECT& track) const {
    const RECT t = thumb(track);
    if (IsRectEmpty(&t))
        return;
    fillRect(dc, track, kTrackColour);
    fillRect(dc, t, kThumbColour);
}
