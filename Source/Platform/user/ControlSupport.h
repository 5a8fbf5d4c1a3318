// What the standard and common controls share: the state each keeps behind its window (made at
// WM_NCCREATE, deleted at WM_NCDESTROY), the font it was given, drawing in the system colours
// at the screen's scale, and telling the parent.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace platform::controls {

// Makes the window the owner of `state` (null lets go of it): the state is deleted with the
// window even when the window goes without its last messages (its thread ended).
void adoptState(HWND hwnd, std::shared_ptr<void> state);

// The control's state object, or null before WM_NCCREATE and after WM_NCDESTROY.
template <class State>
State* stateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}

// Handles the state's life for a control window procedure: makes it at WM_NCCREATE (a pointer
// to it in the window's first extra bytes) and deletes it at WM_NCDESTROY. Returns the state
// for every other message (null if missing).
template <class State>
State* manageState(HWND hwnd, UINT message) {
    if (message == WM_NCCREATE) {
        auto made = std::make_shared<State>();
        State* raw = made.get();
        adoptState(hwnd, std::move(made));
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(raw));
        return raw;
    }
    State* state = stateOf<State>(hwnd);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        adoptState(hwnd, nullptr);
        return nullptr;
    }
    return state;
}

// A drawn control's window procedure after its own cases: WM_SETFONT and WM_GETFONT keep
// `font`; WM_ERASEBKGND is left to painting, which covers the whole control; a new text or
// enabled state repaints the control; everything else goes to DefWindowProcW.
LRESULT defaultControlProc(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam);

// 1 on screens of ordinary density, 2 on those of twice the dots per inch: sizes of boxes,
// arrows and frames are multiplied by it.
int screenScale();

// The font a control draws with: the one WM_SETFONT gave it, else the system's.
HFONT fontOr(HFONT given);

void fillColor(HDC dc, const RECT& rect, int color);
// A frame `thickness` pixels wide just inside `rect`.
void frameColor(HDC dc, const RECT& rect, int color, int thickness = 1);

// Asks the parent for the control's colours (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, ...), which
// it sets on `dc`; the brush for the background.
HBRUSH parentBrush(HWND control, HDC dc, UINT ctlColorMessage);

// WM_COMMAND with the control's id and `code`, sent to its parent.
void notifyParent(HWND control, WORD code);

// The window's text.
std::u16string windowText(HWND hwnd);

// Height of one line of text in `font`.
int lineHeight(HFONT font);

}  // namespace platform::controls
