// The Soft Input Panel: the interfaces between the device's input panel host and an input
// method (IInputMethod, IInputMethod2, the host's IIMCallback and IIMCallback2), the structures
// they pass (IMINFO, SIPINFO), and the Sip* calls that reach the host from any program.
#pragma once

#include "guiddef.h"
#include "oleauto.h"
#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

// SIPINFO / IMINFO fdwFlags, and SipShowIM's argument.
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

#ifndef KEYEVENTF_KEYUP
#define KEYEVENTF_KEYUP 0x0002
#endif

// The host's keyboard-state words that travel with characters (SendCharEvents).
#define KeyStateDownFlag 0x00000080
#define KeyStatePrevDownFlag 0x00000040
#define KeyShiftNoCharacterFlag 0x00010000
#define KeyShiftAnyShiftFlag 0x20000000
#define KeyShiftAnyCtrlFlag 0x40000000

// What an input method reports to the host about itself (GetInfo).
struct IMINFO {
    DWORD cbSize;
    HANDLE hImageNarrow;
    HANDLE hImageWide;
    int iNarrow;
    int iWide;
    DWORD fdwFlags;
    RECT rcSipRect;
};
typedef IMINFO* LPIMINFO;

// The panel's state as any program reads and sets it (SipGetInfo / SipSetInfo); the data
// block pvImData of dwImDataSize bytes goes to the current input method's SetImData.
struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void* pvImData;
};
typedef SIPINFO* LPSIPINFO;

// An alternative list handed back to the host (IIMCallback2::SendAlternatives2); the device's
// host takes none, so its layout is not declared here.
struct IMENUMINFO2;
typedef IMENUMINFO2* LPIMENUMINFO2;

// {42429666-AE04-11D0-A4F8-00AA00A749B9}
inline constexpr IID IID_IInputMethod = {
    0x42429666, 0xAE04, 0x11D0, {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};
// {42429667-AE04-11D0-A4F8-00AA00A749B9}
inline constexpr IID IID_IIMCallback = {
    0x42429667, 0xAE04, 0x11D0, {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};
// {0576F2E1-AA6B-11D2-A146-0000F8757270}
inline constexpr IID IID_IInputMethod2 = {
    0x0576F2E1, 0xAA6B, 0x11D2, {0xA1, 0x46, 0x00, 0x00, 0xF8, 0x75, 0x72, 0x70}};
// {0576F2E0-AA6B-11D2-A146-0000F8757270}
inline constexpr IID IID_IIMCallback2 = {
    0x0576F2E0, 0xAA6B, 0x11D2, {0xA1, 0x46, 0x00, 0x00, 0xF8, 0x75, 0x72, 0x70}};

// The host's side: where an input method sends its output.
struct IIMCallback : public IUnknown {
    STDMETHOD(SetImInfo)(IMINFO* pimi) PURE;
    // bVk with dwFlags 0 for a press, KEYEVENTF_KEYUP for a release.
    STDMETHOD(SendVirtualKey)(BYTE bVk, DWORD dwFlags) PURE;
    // uChars characters (each a 32-bit word) with their shift-state words.
    STDMETHOD(SendCharEvents)
    (UINT uVk, UINT uKeyFlags, UINT uChars, UINT* puShift, UINT* puChars) PURE;
    STDMETHOD(SendString)(BSTR ptszStr, DWORD dwChars) PURE;

protected:
    ~IIMCallback() = default;
};

struct IIMCallback2 : public IIMCallback {
    STDMETHOD(SendAlternatives2)(LPIMENUMINFO2 lpIMEnumInfo) PURE;

protected:
    ~IIMCallback2() = default;
};

// The input method's side, as the host drives it.
struct IInputMethod : public IUnknown {
    STDMETHOD(Select)(HWND hwndSip) PURE;
    STDMETHOD(Deselect)() PURE;
    STDMETHOD(Showing)() PURE;
    STDMETHOD(Hiding)() PURE;
    STDMETHOD(GetInfo)(IMINFO* pimi) PURE;
    STDMETHOD(ReceiveSipInfo)(SIPINFO* psi) PURE;
    STDMETHOD(RegisterCallback)(IIMCallback* lpIMCallback) PURE;
    STDMETHOD(GetImData)(DWORD dwSize, void* pvImData) PURE;
    STDMETHOD(SetImData)(DWORD dwSize, void* pvImData) PURE;
    STDMETHOD(UserOptionsDlg)(HWND hwndParent) PURE;

protected:
    ~IInputMethod() = default;
};

struct IInputMethod2 : public IInputMethod {
    STDMETHOD(SetIMMActiveContext)
    (HWND hwnd, BOOL bOpen, DWORD dwConversion, DWORD dwSentence, DWORD hkl) PURE;
    STDMETHOD(RegisterCallback2)(IIMCallback2* lpIMCallback) PURE;

protected:
    ~IInputMethod2() = default;
};

// The class identifier of the input method now current. FALSE (ERROR_NOT_READY) when the
// device has no input panel host, or with a null argument (ERROR_INVALID_PARAMETER).
BOOL SipGetCurrentIM(CLSID* pClsid);
// Reads the panel's information; cbSize must be sizeof(SIPINFO).
BOOL SipGetInfo(SIPINFO* pSipInfo);
// Sets the panel's information; a data block goes to the current input method's SetImData.
BOOL SipSetInfo(SIPINFO* pSipInfo);
// SIPF_ON shows the input panel, SIPF_OFF hides it.
BOOL SipShowIM(DWORD dwFlag);
