// KvHelper's entry point: one command from the command line, compared exactly, then exit 0.
#include "KvHelper.h"

extern "C" int WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    const WCHAR* command = commandLine != nullptr ? commandLine : u"";
    if (wcscmp(command, u"SETTINGS") == 0)
        OpenOptionsDialog();
    else if (wcscmp(command, u"GET_DPI") == 0)
        RecordScreenDpi();
    else
        OpenPath(command);
    return 0;
}
