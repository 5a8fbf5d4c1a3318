// The application object.
#include "WinApp.h"

#include "ModuleState.h"

CWinApp::CWinApp(LPCWSTR appName) : m_pszAppName(appName) {
    AfxGetStaticModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (state->m_pCurrentWinApp == this)
        state->m_pCurrentWinApp = nullptr;
}

int CWinApp::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        platform::handleMessage(msg);
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}
