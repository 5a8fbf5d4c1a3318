// The main window of a built-in device program: a view that fills the work area (following it
// when the shell or a rotation changes it) and ends the program when it is closed; and the
// program's WinMain loop around it.
#pragma once

#include <functional>
#include <memory>

#include "programs/common/ProgramView.h"

class ProgramWindow : public ProgramView {
protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
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

// The work area programs fill: the screen between the shell's bars.
RECT programWorkArea();
