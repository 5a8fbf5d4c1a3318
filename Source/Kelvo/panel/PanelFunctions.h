// Where the panel's other faces join the key handling: the task switcher, the macros, the
// launcher and help keys, and the refreshes when their layouts are entered. Each face
// registers its functions here; a function not registered does nothing.
#pragma once

class CMyPanel;
class CDC;

struct PanelFunctions {
    void (*taskKey)(CMyPanel& panel) = nullptr;          // KF_TASKS key struck
    void (*macroKey)(CMyPanel& panel) = nullptr;         // KF_MACRO key struck
    void (*specialKey)(CMyPanel& panel) = nullptr;       // KF_LAUNCH key struck
    void (*refreshTaskList)(CMyPanel& panel) = nullptr;  // an LF_TASKS layout entered or moved
    void (*refreshLauncher)(CMyPanel& panel) = nullptr;  // an LF_LAUNCHER layout entered
    void (*loadMacros)() = nullptr;                      // the macro table read again
    // The long press on a macro key: takes the clipboard text into the macro.
    void (*assignClipboardToMacro)(CMyPanel& panel) = nullptr;
    // Paints the macro names of an LF_MACROS layout over its keys.
    void (*paintMacroLabels)(CMyPanel& panel, CDC& dc) = nullptr;
};

extern PanelFunctions g_panelFunctions;
