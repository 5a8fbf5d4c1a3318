// Where the panel's other faces join the key handling: the task switcher, the launcher and
// help keys, the refreshes when their layouts are entered, and the macro labels' painter.
// Each face registers its functions here; a function not registered does nothing.
#pragma once

class CMyPanel;
class CDC;

struct PanelFunctions {
    void (*taskKey)(CMyPanel& panel) = nullptr;          // KF_TASKS key struck
    void (*specialKey)(CMyPanel& panel) = nullptr;       // KF_LAUNCH key struck
    void (*refreshTaskList)(CMyPanel& panel) = nullptr;  // an LF_TASKS layout entered or moved
    void (*refreshLauncher)(CMyPanel& panel) = nullptr;  // an LF_LAUNCHER layout entered
    // Paints the macro names of an LF_MACROS layout over its keys.
    void (*paintMacroLabels)(CMyPanel& panel, CDC& dc) = nullptr;
};

extern PanelFunctions g_panelFunctions;
