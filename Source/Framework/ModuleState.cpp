// The module state. The framework is linked into each module (library or program) on its own,
// so this file's statics are that module's: its instance handle arrives through DllMain when
// the platform loads the library, and a program's is its process's program module.
#include "ModuleState.h"

#include "WinApp.h"

namespace {

AFX_MODULE_STATE g_staticState;
thread_local AFX_MODULE_STATE* t_currentState = nullptr;

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    return &g_staticState;
}

AFX_MODULE_STATE* AfxGetModuleState() {
    return t_currentState ? t_currentState : &g_staticState;
}

HINSTANCE AfxGetInstanceHandle() {
    HINSTANCE instance = AfxGetModuleState()->m_hCurrentInstanceHandle;
    return instance ? instance : GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE instance = AfxGetModuleState()->m_hCurrentResourceHandle;
    return instance ? instance : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE instance) {
    AfxGetModuleState()->m_hCurrentResourceHandle = instance;
}

CWinApp* AfxGetApp() {
    return AfxGetModuleState()->m_pCurrentWinApp;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : m_previous(t_currentState) {
    t_currentState = state;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() {
    t_currentState = m_previous;
}

// The library entry point: records the module's instance and starts its application object,
// as the platform loads the library into a process.
extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (reason == DLL_PROCESS_ATTACH) {
        state->m_hCurrentInstanceHandle = instance;
        state->m_hCurrentResourceHandle = instance;
        if (CWinApp* app = state->m_pCurrentWinApp) {
            app->m_hInstance = instance;
            return app->InitInstance();
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        if (CWinApp* app = state->m_pCurrentWinApp)
            app->ExitInstance();
    }
    return TRUE;
}
