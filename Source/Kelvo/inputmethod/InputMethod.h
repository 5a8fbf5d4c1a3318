// MyIInputMethod: the object the input panel host drives. It holds the SIP window, the keyboard
// panel while selected and the SIP button image lists; everything the user taps is the panel's.
#pragma once

#include <commctrl.h>
#include <sip.h>

class CMyPanel;

// Resource ids of the SIP button pictures (4-bit bitmaps, silver is transparent).
inline constexpr UINT IDB_SIPBUTTON_WIDE = 2015;    // 32 x 16
inline constexpr UINT IDB_SIPBUTTON_NARROW = 2016;  // 16 x 16
inline constexpr COLORREF kSipButtonMask = RGB(192, 192, 192);

// The distance from the SIP window's bottom edge to the screen's, measured once at the first
// layout (0: not measured yet).
extern int32_t g_bottomMargin;

// The data-channel commands of SetImData and the query of GetImData (word 0 of the block).
inline constexpr WORD kImDataQueryLayout = 2;
inline constexpr WORD kImDataCommand = 1;
inline constexpr WORD kImDataPressKey = 2;
inline constexpr WORD kImDataReload = 3;

// True for the interface ids the input method answers to.
bool isInputMethodInterface(REFIID riid);

class MyIInputMethod : public IInputMethod2 {
public:
    MyIInputMethod();
    virtual ~MyIInputMethod();
    MyIInputMethod(const MyIInputMethod&) = delete;
    MyIInputMethod& operator=(const MyIInputMethod&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Select)(HWND hwndSip) override;
    STDMETHOD(Deselect)() override;
    STDMETHOD(Showing)() override;
    STDMETHOD(Hiding)() override;
    STDMETHOD(GetInfo)(IMINFO* pimi) override;
    STDMETHOD(ReceiveSipInfo)(SIPINFO* psi) override;
    STDMETHOD(RegisterCallback)(IIMCallback* lpIMCallback) override;
    STDMETHOD(GetImData)(DWORD dwSize, void* pvImData) override;
    STDMETHOD(SetImData)(DWORD dwSize, void* pvImData) override;
    STDMETHOD(UserOptionsDlg)(HWND hwndParent) override;
    STDMETHOD(SetIMMActiveContext)
    (HWND hwnd, BOOL bOpen, DWORD dwConversion, DWORD dwSentence, DWORD hkl) override;
    STDMETHOD(RegisterCallback2)(IIMCallback2* lpIMCallback) override;

    // The panel while selected (null otherwise), for the library's own use.
    CMyPanel* panel() const { return m_pPanel; }

private:
    void makeImageLists();
    // Destroys the panel window, its class and the panel, then the button pictures.
    void destroyPanel();
    void destroyImageLists();

    LONG m_cRef = 1;
    HWND m_hwndSip = nullptr;
    CMyPanel* m_pPanel = nullptr;
    HIMAGELIST m_himlWide = nullptr;
    HIMAGELIST m_himlNarrow = nullptr;
};
