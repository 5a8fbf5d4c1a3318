// The pieces of the panel's painting that every face shares: a key's pushed look and its
// frame, the key rectangle a face draws in, and the text set-up with the panel's label font;
// and the faces the paint draws after the key looks.
#pragma once

#include <afxwin.h>

#include <cstdint>

#include "skin/SkinLayout.h"

class CMyPanel;

// Keys are drawn only when their rectangle is not empty and lies within this distance of the
// panel's origin: a skin's rectangle is data, and nothing larger fits any screen.
inline constexpr LONG kPaintCoordinateLimit = 0x7FFF;
bool isPaintableRect(const RECT& rect);

// The pushed look: the key's piece of the picture selected in `source`, copied one pixel
// right and down; its last column and row are not drawn, its first keep the normal picture.
void PaintPushed(CDC& target, CDC& source, const RECT& rect);
// The frame: the key's edges one pixel in from its top-left, in the panel's frameColor, two
// pixels wide when the panel's scale is 2.
void PaintFrame(const CMyPanel& panel, CDC& target, const RECT& rect);

// Where a face draws on `key`: its rectangle, one pixel right and down while it is held.
RECT faceKeyRect(const CMyPanel& panel, const KeyRecord& key);

// The label font's requested height for a layout whose first key is `firstKeyHeight` pixels
// high: five eighths of it, negative to ask for the character height. Heights beyond any
// screen are taken as the largest a screen has.
LONG labelFontHeight(int64_t firstKeyHeight);

// The text set-up of a face, for the life of the object: the panel's label font (made when
// the layout has none yet), transparent background, the skin's text colour. The font the DC
// had is selected again at the end.
class FaceText {
public:
    FaceText(CMyPanel& panel, CDC& dc);
    ~FaceText();
    FaceText(const FaceText&) = delete;
    FaceText& operator=(const FaceText&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_previousFont = nullptr;
};

// The faces, each drawn on layouts with its flag.
void PaintCalcDisplay(CMyPanel& panel, CDC& dc);   // LF_CALC
void PaintTaskList(CMyPanel& panel, CDC& dc);      // LF_TASKS
void PaintProgramIcons(CMyPanel& panel, CDC& dc);  // LF_LAUNCHER

// The close icons of the task list: 32 x 32 on screens wider than 400 pixels, else 16 x 16.
inline constexpr WORD IDI_CLOSE_LARGE = 2001;
inline constexpr WORD IDI_CLOSE_SMALL = 2002;
