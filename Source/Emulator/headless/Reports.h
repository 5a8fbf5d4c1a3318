// What the headless runner's print commands write: the focused window's text, the input
// panel's rectangle and layout, the top-level windows, the foreground window's controls and
// the device's event log, one item per line.
#pragma once

#include <device/EventLog.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

inline constexpr int kMaxReportedText = 1 << 20;  // characters read from a window

// The text of a window through WM_GETTEXTLENGTH and WM_GETTEXT (at most kMaxReportedText).
std::u16string windowText(HWND window);

// "sip LEFT TOP RIGHT BOTTOM layout N visible 0|1" (N is -1 when no layout is reported).
std::string sipLine(const RECT& sipWindow, std::optional<int> layout, bool visible);

// "front CLASS LEFT TOP RIGHT BOTTOM" of the foreground window ("front none" without one).
std::string frontLine();

// One line per top-level window, topmost first: handle, process id, program, class, visible
// flag and title, tab-separated.
std::string windowsReport();

// One line per descendant of the foreground window: control id, class, visible flag, screen
// rectangle and text, tab-separated; a tab control adds a line per tab ("tab N" as its class).
std::string controlsReport();

// The first descendant of the foreground window with the control id, or null.
HWND controlWithId(int id);

// "TIME KIND TEXT" per event.
std::string eventsReport(const std::vector<device::Event>& events);
