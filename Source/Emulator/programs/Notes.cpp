// Notes' program: its entry point, and the main window over the visible desktop that hands the
// focus to its edit control: a multi-line CFarsiEdit with the vertical scroll bar, Enter making
// paragraphs, each paragraph aligned by its own direction.
#include "programs/Notes.h"

#include <afxwin.h>
#include <device/Programs.h>
#include <windows.h>

#include <memory>

#include "farsiedit/CFarsiEdit.h"
#include "programs/ProgramIcons.h"
#include "programs/common/ProgramWindow.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | FES_MULTILINE | FES_WANTRETURN | FES_VSCROLL |
                             FES_BYDIRECTION | FES_RIGHT;
// The text's font: 9 points.
constexpr int kFontPixelsAt96Dpi = 12;

class NotesWindow : public ProgramWindow {
protected:
    void created() override {
        // The edit control is a framework window: its parent is this window bound to a CWnd.
        m_frame.Attach(window());
        if (!m_edit.Create(kEditStyle, RECT{0, 0, clientWidth(), clientHeight()}, &m_frame,
                           kNotesEditId)) {
            // Notes without its text is no use: the program ends.
            PostMessageW(window(), WM_CLOSE, 0, 0);
            return;
        }
        m_edit.SetFont(-kFontPixelsAt96Dpi * scale(), FALSE, FALSE, FALSE);
    }

    void resized(int width, int height) override {
        MoveWindow(editWindow(), 0, 0, width, height, TRUE);
    }

    // The edit control covers the window; this shows only while it is being made.
    void paint(HDC dc, int width, int height) override {
        RECT all{0, 0, width, height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    }

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE)
                    SetFocus(editWindow());
                return 0;
            case WM_SETFOCUS:
                SetFocus(editWindow());
                return 0;
            case WM_NCDESTROY:
                // The edit control's window is gone by now; the frame's binding goes with it.
                m_frame.Detach();
                return ProgramWindow::handle(msg, wParam, lParam);
            default:
                return ProgramWindow::handle(msg, wParam, lParam);
        }
    }

private:
    HWND editWindow() const { return GetDlgItem(window(), kNotesEditId); }

    CWnd m_frame;
    CFarsiEdit m_edit;
};

int notesMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return runProgram(instance, {kNotesWindowClass, kNotesTitle},
                      [] { return std::make_unique<NotesWindow>(); });
}

}  // namespace

void registerNotesProgram() {
    device::registerProgram(u"notes.exe", notesMain, kNotesIcon);
}
