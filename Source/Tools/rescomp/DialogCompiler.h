// Dialog sources (.dlg): a readable text form of a dialog template, compiled into the binary
// layout that device/Resources.h documents. One statement a line, '#' comments:
//   DIALOG x y cx cy                     the dialog's rectangle in dialog units (first line)
//   CAPTION "text"                       the title
//   FONT points "face"                   the font (also sets DS_SETFONT)
//   STYLE expr          EXSTYLE expr     the dialog's styles
//   CONTROL class id "text" x y cx cy [expr] [EXSTYLE expr]
//                                        a control; its style is WS_CHILD | WS_VISIBLE
//                                        combined with expr; id -1 is 0xFFFF
//   ITEM "text"                          an initial string of the control above
// expr is names and numbers joined by '|'; "NOT name" removes a style (NOT WS_VISIBLE).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rescomp {

// Compiles the dialog source at `path`; throws CompileError naming the line of a fault.
std::vector<uint8_t> compileDialog(const std::string& path);

}  // namespace rescomp
