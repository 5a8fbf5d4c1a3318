// The main window of a built-in device program: a view that fills the visible desktop, the work
// area less the input panel when it is up (following it when the panel is shown, hidden or
// resized, the screen turns or the shell changes the work area), and ends the program when it
// is closed; and the program's WinMain loop around it.
#pragma once

#include <aygshell.h>

#include <functional>
#include <memory>

#include "programs/common/ProgramView.h"

class ProgramWindow : public ProgramView {
protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SHACTIVATEINFO m_activateInfo{sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
};

struct ProgramDescription {
    const WCHAR* windowClass;
    const WCHAR* title;
};

// A program's WinMain: one instance per device (starting it again brings the running one to the
// front), its window made by `make`, and the message loop until the window is closed. Returns
// the program's exit code.
int runProgram(HINSTANCE instance, const ProgramDescription& description,
               const std::function<std::unique_ptr<ProgramWindow>()>& make);

// What a program's main window fills: the work area (the screen between the shell's bars) less
// the input panel when it is up.
RECT visibleDesktop();
