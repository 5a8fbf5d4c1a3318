// MyIInputMethod: selection and deselection of the panel, the host's queries (GetInfo,
// GetImData) and the data channel through which other programs command a running panel.
#include "inputmethod/InputMethod.h"

#include <afxwin.h>

#include <new>

#include "inputmethod/ClassFactory.h"
#include "inputmethod/Settings.h"
#include "options/OptionsDlg.h"
#include "panel/MyPanel.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

int32_t g_bottomMargin = 0;

namespace {

constexpr WCHAR kOptionsCaption[] = u"Kelvo Settings";

// Reads 16-bit word i of a data block whose size the caller has checked.
WORD wordAt(const void* block, size_t i) {
    const auto* bytes = static_cast<const BYTE*>(block);
    return static_cast<WORD>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

void setWordAt(void* block, size_t i, WORD value) {
    auto* bytes = static_cast<BYTE*>(block);
    bytes[2 * i] = static_cast<BYTE>(value & 0xFF);
    bytes[2 * i + 1] = static_cast<BYTE>(value >> 8);
}

HIMAGELIST makeImageList(int width, int height, UINT bitmapId) {
    HIMAGELIST list = ImageList_Create(width, height, ILC_MASK, 1, 1);
    if (list == nullptr)
        return nullptr;
    if (HBITMAP bitmap = LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId))) {
        ImageList_AddMasked(list, bitmap, kSipButtonMask);
        DeleteObject(bitmap);
    }
    return list;
}

}  // namespace

bool isInputMethodInterface(REFIID riid) {
    return riid == IID_IUnknown || riid == IID_IInputMethod || riid == IID_IInputMethod2;
}

MyIInputMethod::MyIInputMethod() {
    ++g_objectCount;
}

MyIInputMethod::~MyIInputMethod() {
    // A host that releases without deselecting still gets its window and lists back; its
    // callback may be gone already, so nothing is sent through it.
    if (m_pPanel != nullptr || m_himlWide != nullptr) {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        destroyPanel();
    }
    --g_objectCount;
}

STDMETHODIMP MyIInputMethod::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (!isInputMethodInterface(riid)) {
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    *ppvObject = static_cast<IInputMethod2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MyIInputMethod::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) MyIInputMethod::Release() {
    const LONG count = InterlockedDecrement(&m_cRef);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

void MyIInputMethod::makeImageLists() {
    m_himlWide = makeImageList(32, 16, IDB_SIPBUTTON_WIDE);
    m_himlNarrow = makeImageList(16, 16, IDB_SIPBUTTON_NARROW);
}

void MyIInputMethod::destroyImageLists() {
    if (m_himlWide != nullptr)
        ImageList_Destroy(m_himlWide);
    if (m_himlNarrow != nullptr)
        ImageList_Destroy(m_himlNarrow);
    m_himlWide = nullptr;
    m_himlNarrow = nullptr;
}

STDMETHODIMP MyIInputMethod::Select(HWND hwndSip) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_hwndSip = hwndSip;
    if (m_pPanel != nullptr)
        return E_FAIL;
    if (m_himlWide == nullptr)
        makeImageLists();
    // Without memory for the panel the object stays unselected.
    m_pPanel = new (std::nothrow) CMyPanel();
    if (m_pPanel == nullptr)
        return E_FAIL;
    return m_pPanel->CreatePanelWindow(hwndSip) ? S_OK : E_FAIL;
}

STDMETHODIMP MyIInputMethod::Deselect() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // Another input method takes over: the application must not go on holding a modifier
    // this one latched. The host's callback is still good while it deselects.
    if (m_pPanel != nullptr)
        m_pPanel->resetKeyState();
    destroyPanel();
    return S_OK;
}

void MyIInputMethod::destroyPanel() {
    if (m_pPanel != nullptr) {
        if (m_pPanel->GetSafeHwnd() != nullptr)
            m_pPanel->DestroyWindow();
        UnregisterClassW(kPanelClassName, AfxGetInstanceHandle());
        delete m_pPanel;
        m_pPanel = nullptr;
    }
    destroyImageLists();
}

STDMETHODIMP MyIInputMethod::Showing() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES);
    ReleaseDC(nullptr, screen);
    if (width != g_screenWidth && m_pPanel != nullptr)
        resetSkin(*m_pPanel);
    return S_OK;
}

STDMETHODIMP MyIInputMethod::Hiding() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // A press under way when the panel goes away would never see its stylus up.
    if (m_pPanel != nullptr && m_pPanel->tracking)
        m_pPanel->endPress();
    return S_OK;
}

STDMETHODIMP MyIInputMethod::GetInfo(IMINFO* pimi) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (pimi == nullptr)
        return E_FAIL;
    if (m_himlWide == nullptr)
        makeImageLists();
    pimi->fdwFlags = SIPF_DOCKED;
    pimi->hImageNarrow = m_himlNarrow;
    pimi->hImageWide = m_himlWide;
    pimi->iNarrow = 0;
    pimi->iWide = 0;
    // Without a panel there is no layout to size the window to: the rectangle stays the host's.
    if (m_pPanel != nullptr)
        m_pPanel->LayoutPanel(*pimi);
    return S_OK;
}

STDMETHODIMP MyIInputMethod::ReceiveSipInfo(SIPINFO*) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return S_OK;
}

STDMETHODIMP MyIInputMethod::RegisterCallback(IIMCallback* lpIMCallback) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // The panel is the only holder of the callback; unselected there is nowhere to keep it.
    if (m_pPanel == nullptr)
        return E_FAIL;
    m_pPanel->callback = lpIMCallback;
    return S_OK;
}

STDMETHODIMP MyIInputMethod::GetImData(DWORD dwSize, void* pvImData) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // The size is checked first: word 0 of a smaller block must not be read.
    if (pvImData == nullptr || dwSize != 4 || wordAt(pvImData, 0) != kImDataQueryLayout)
        return E_FAIL;
    WORD shown = 0xFFFF;
    if (m_pPanel != nullptr && m_pPanel->layout)
        shown = static_cast<WORD>(static_cast<int16_t>(m_pPanel->layout->index));
    setWordAt(pvImData, 1, shown);
    return S_OK;
}

STDMETHODIMP MyIInputMethod::SetImData(DWORD dwSize, void* pvImData) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (pvImData == nullptr || dwSize < 2)
        return E_FAIL;
    UINT message = 0;
    DWORD required = 0;
    switch (wordAt(pvImData, 0)) {
        case kImDataCommand:
            message = WM_PANEL_COMMAND;
            required = 6;
            break;
        case kImDataPressKey:
            message = WM_PANEL_PRESSKEY;
            required = 6;
            break;
        case kImDataReload:
            message = WM_PANEL_RELOAD;
            required = 4;
            break;
        default:
            return E_FAIL;
    }
    if (dwSize != required)
        return E_FAIL;
    // Unselected there is no panel window to carry the command.
    if (m_pPanel == nullptr || m_pPanel->GetSafeHwnd() == nullptr)
        return E_FAIL;
    const WPARAM wParam = wordAt(pvImData, 1);
    const LPARAM lParam = required == 6 ? static_cast<LPARAM>(wordAt(pvImData, 2)) : 0;
    PostMessageW(m_pPanel->GetSafeHwnd(), message, wParam, lParam);
    return S_OK;
}

STDMETHODIMP MyIInputMethod::UserOptionsDlg(HWND hwndParent) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CWnd parent;
    const bool attached = hwndParent != nullptr && parent.Attach(hwndParent);
    readSkinsPath();
    MeasureScreen();
    {
        COptionsDlg dialog(kOptionsCaption, attached ? &parent : nullptr, 0);
        dialog.DoModal();
    }
    if (attached)
        parent.Detach();
    return S_OK;
}

STDMETHODIMP MyIInputMethod::SetIMMActiveContext(HWND, BOOL, DWORD, DWORD, DWORD) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return S_OK;
}

STDMETHODIMP MyIInputMethod::RegisterCallback2(IIMCallback2*) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return S_OK;
}
