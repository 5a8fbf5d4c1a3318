// A vertical scroll position over content taller than its view, as the device programs' lists
// and pages scroll: keys move it, the stylus drags the content (which follows the pen once the
// pen has moved a few pixels, so that a tap stays a tap), and the indicator along the right edge
// works like a scroll bar's thumb (pressing the track puts the thumb's middle under the pen).
#pragma once

#include <windef.h>

// The indicator's width at 96 dpi.
inline constexpr int kScrollIndicatorWidth = 5;

// The indicator's track: a strip along the right edge of the view it scrolls.
RECT scrollIndicatorTrack(const RECT& view, int scale);

class VerticalScroll {
public:
    // The content's and the view's heights; the position is kept within the content.
    void setExtent(int contentHeight, int viewHeight);
    int top() const { return m_top; }
    int maxTop() const;
    int viewHeight() const { return m_view; }
    // Each returns true when the position changed.
    bool scrollTo(int top);
    bool scrollBy(int delta);
    // Brings the content rows [y, y + height) into view, moving as little as possible.
    bool reveal(int y, int height);

    // A stylus stroke: `track` is the indicator's rectangle, `slop` how far the pen may move
    // before a press on the content becomes a drag.
    void press(POINT point, const RECT& track, int slop);
    bool move(POINT point);
    // Ends the stroke; true when it was a tap on the content (it never dragged).
    bool release();
    bool dragging() const { return m_mode == Mode::Content || m_mode == Mode::Thumb; }

    // The thumb within `track`; an empty rectangle when the content fits the view.
    RECT thumb(const RECT& track) const;
    void drawIndicator(HDC dc, const RECT& track) const;

private:
    enum class Mode { None, Pressed, Content, Thumb };
    bool thumbTo(int penY);

    int m_content = 0;
    int m_view = 0;
    int m_top = 0;
    Mode m_mode = Mode::None;
    POINT m_pressed{};
    int m_topAtPress = 0;
    int m_slop = 0;
    RECT m_track{};
};
