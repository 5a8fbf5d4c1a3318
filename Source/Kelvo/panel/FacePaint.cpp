// What the faces draw over their keys: the calculator's display with its memory mark, the task
// list's titles and close icons, and the launcher's program icons.
#include <algorithm>
#include <memory>
#include <type_traits>

#include "calculator/Calculator.h"
#include "farsiedit/TextInk.h"
#include "inputmethod/Settings.h"
#include "panel/Launcher.h"
#include "panel/MyPanel.h"
#include "panel/PanelPaint.h"
#include "panel/TaskSwitcher.h"

namespace {

// How far the calculator's number stays in from the display's right edge, times the scale.
constexpr int kDisplayInset = 3;

struct IconDeleter {
    void operator()(std::remove_pointer_t<HICON>* icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Visits the keys of `layout` that have any of the `kind` flags, row by row and left to right,
// until `visit` returns false.
template <typename Visit>
void forEachKey(SkinLayout& layout, WORD kind, Visit visit) {
    const int rows = std::clamp(layout.rowCount, 0, kMaxRows);
    for (int r = 0; r < rows; ++r) {
        const int cols = std::min<int>(layout.rowKeyCount[r], kMaxKeysPerRow);
        for (int c = 0; c < cols; ++c) {
            KeyRecord& key = layout.keys[r][c];
            if (key.flags & kind) {
                if (!visit(key))
                    return;
            }
        }
    }
}

}  // namespace

void PaintCalcDisplay(CMyPanel& panel, CDC& dc) {
    const KeyRecord* display = panel.layout->keyAtRowCol(0, 0);
    if (display == nullptr || !isPaintableRect(display->rect))
        return;
    FaceText text(panel, dc);
    RECT d = display->rect;
    const std::u16string shown = CalcDisplayText(panel);
    // The number stands clear of the display's frame, and a last glyph whose ink reaches past
    // its advance (the tail of an "r" or of an Arabic-Indic five) moves in by that much.
    RECT number = d;
    number.right -= kDisplayInset * panel.scale;
    const int count = static_cast<int>(shown.size());
    const RECT ink = TextInkBounds(dc, shown.c_str(), count);
    SIZE advance{};
    if (ink.left < ink.right && GetTextExtentPoint32W(dc, shown.c_str(), count, &advance) &&
        ink.right > advance.cx)
        number.right -= ink.right - advance.cx;
    dc.DrawText(shown.c_str(), count, &number, DT_RIGHT | DT_VCENTER);
    if (panel.calcMemory != 0) {
        d.left += 2 * panel.scale;
        dc.DrawText(u"M", 1, &d, DT_LEFT);
    }
}

void PaintTaskList(CMyPanel& panel, CDC& dc) {
    FaceText text(panel, dc);
    OwnedIcon closeIcon;
    const int inset = 3 * panel.scale;
    forEachKey(*panel.layout, KF_TASKS, [&](const KeyRecord& key) {
        if ((key.vk != kTaskClose && key.vk != kTaskActivate) || key.param >= panel.taskWnd.size())
            return true;
        HWND window = panel.taskWnd[key.param];
        RECT r = faceKeyRect(panel, key);
        if (window == nullptr || !isPaintableRect(r))
            return true;
        if (key.vk == kTaskActivate) {
            if (!IsWindow(window)) {
                // The list is out of date: rebuild it (without the vanished window) and paint
                // the whole face again.
                RefreshTaskList(panel);
                panel.Invalidate(FALSE);
                return false;
            }
            WCHAR title[kTaskTitleRoom + 1] = {};
            const int length = GetWindowTextW(window, title, kTaskTitleRoom + 1);
            InflateRect(&r, -inset, -1);
            dc.DrawText(title, length, &r, DT_LEFT | DT_VCENTER);
            return true;
        }
        if (!closeIcon) {
            const bool large = g_screenWidth >= 401;
            const int size = large ? 32 : 16;
            closeIcon.reset(static_cast<HICON>(LoadImageW(
                AfxGetResourceHandle(), MAKEINTRESOURCEW(large ? IDI_CLOSE_LARGE : IDI_CLOSE_SMALL),
                IMAGE_ICON, size, size, 0)));
        }
        if (closeIcon)
            DrawIconEx(dc, r.left, r.top, closeIcon.get(), 0, 0, 0, nullptr, DI_NORMAL);
        return true;
    });
}

void PaintProgramIcons(CMyPanel& panel, CDC& dc) {
    const int size = panel.scale == 1 ? 16 : 32;
    forEachKey(*panel.layout, KF_LAUNCH, [&](const KeyRecord& key) {
        HICON icon = nullptr;
        if (key.vk == kLaunchProgram && key.param < panel.programIcons.size())
            icon = panel.programIcons[key.param];
        else if (key.vk == kLaunchGame && key.param < panel.gameIcons.size())
            icon = panel.gameIcons[key.param];
        const RECT& r = key.rect;
        if (icon != nullptr && isPaintableRect(r)) {
            DrawIconEx(dc, r.left + (r.right - r.left - size) / 2,
                       r.top + (r.bottom - r.top - size) / 2, icon, 0, 0, 0, nullptr, DI_NORMAL);
        }
        return true;
    });
}
