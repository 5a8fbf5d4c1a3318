// Keeps the framework's pre-translation hook on a thread while this module has windows
// attached there (called by CWnd as it attaches to and detaches from a window).
#pragma once

void afxWindowAttached();
void afxWindowDetached();
