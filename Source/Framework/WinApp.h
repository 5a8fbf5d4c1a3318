// CWinApp: the one application object of a module. A library's is started by its DllMain
// (InitInstance) and stopped as the library unloads (ExitInstance); a program's runs the
// message loop.
#pragma once

#include <windows.h>

class CWinApp {
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop: every message is offered to the framework's pre-translation first.
    virtual int Run();

    HINSTANCE m_hInstance = nullptr;
    LPCWSTR m_pszAppName = nullptr;
};
