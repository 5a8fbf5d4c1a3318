// Putting the whole device back as it starts, so that each test begins on a fresh device
// whatever the cases before it did: the device's own state, not the host program's objects.
#pragma once

#include <string>
#include <vector>

namespace device {

// The programs of the processes started by CreateProcessW that have not ended yet
// ("\Windows\Notes.exe"), in the order they started.
std::vector<std::u16string> runningProcesses();

// Puts the device back as it starts: no windows, window classes, hooks, menus, accelerator
// tables, timers or queued messages; no focus, capture, caret, foreground window or clipboard
// data; the stylus up and every key up; the default work area and cursor; a black 240 x 320
// screen at automatic dots per inch; the default font folder; an empty registry with no file
// attached, nobody watching its saves and saves uninterrupted; an empty event log written nowhere; an empty program
// table; no input panel host; no resource tables tied to instance handles; no libraries loaded
// by the calling (shell) thread's process, through COM or otherwise, and COM not initialised on
// the calling thread; the real clock from zero and no device date set.
//
// Kept: the device folder (the host's), drawing objects, icons, image lists, memory blocks and
// kernel handles that the host program still holds (its own, never reused, so they cannot
// reach what comes after), and handle numbering, which runs on so that a stale handle never
// names a new object.
//
// Called by the thread that runs the shell (a test's thread). Every process must have ended
// first: while one still runs nothing is reset and the result is false.
bool resetDevice();

}  // namespace device
