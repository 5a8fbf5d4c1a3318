// The host's callback.
#include "sip/HostCallback.h"

#include <device/Display.h>
#include <device/Input.h>
#include <windows.h>

namespace {

// lParam of a key release: repeat count 1, previous state down, transition up.
constexpr LPARAM kKeyUpBits = static_cast<LPARAM>(static_cast<DWORD>(0xC0000001));

bool postToFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND target = device::foregroundFocusWindow();
    return target != nullptr && PostMessageW(target, message, wParam, lParam);
}

}  // namespace

STDMETHODIMP HostCallback::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IIMCallback || riid == IID_IIMCallback2) {
        *ppvObject = static_cast<IIMCallback2*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP HostCallback::SetImInfo(IMINFO* pimi) {
    if (pimi == nullptr)
        return E_INVALIDARG;
    if (m_onImInfo)
        m_onImInfo(*pimi);
    return S_OK;
}

STDMETHODIMP HostCallback::SendVirtualKey(BYTE bVk, DWORD dwFlags) {
    // TranslateMessage in the program's loop makes the character of keys that have one.
    const bool sent = (dwFlags & KEYEVENTF_KEYUP) ? postToFocus(WM_KEYUP, bVk, kKeyUpBits)
                                                  : postToFocus(WM_KEYDOWN, bVk, 1);
    return sent ? S_OK : E_FAIL;
}

STDMETHODIMP HostCallback::SendCharEvents(UINT uVk, UINT uKeyFlags, UINT uChars, UINT*,
                                          UINT* puChars) {
    const UINT vk = uVk & 0xFF;
    if (!(uKeyFlags & KeyStateDownFlag)) {
        if (vk != 0 && !postToFocus(WM_KEYUP, vk, kKeyUpBits))
            return E_FAIL;
        return S_OK;
    }
    // The key goes first, marked so that no second character is made from it; then each
    // character as its own message, without key flags.
    if (vk != 0 && !postToFocus(WM_KEYDOWN, vk, 1 | device::kKeyNoCharacter))
        return E_FAIL;
    if ((uKeyFlags & KeyShiftNoCharacterFlag) || puChars == nullptr)
        return S_OK;
    const UINT count = uChars < kMaxCharacters ? uChars : kMaxCharacters;
    for (UINT i = 0; i < count; ++i) {
        if (!postToFocus(WM_CHAR, puChars[i] & 0xFFFF, 0))
            return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP HostCallback::SendString(BSTR ptszStr, DWORD dwChars) {
    if (ptszStr == nullptr)
        return dwChars == 0 ? S_OK : E_INVALIDARG;
    const DWORD count = dwChars < kMaxCharacters ? dwChars : kMaxCharacters;
    for (DWORD i = 0; i < count; ++i) {
        if (!postToFocus(WM_CHAR, ptszStr[i], 1))
            return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP HostCallback::SendAlternatives2(LPIMENUMINFO2) {
    // The device's host offers no alternatives list.
    return E_NOTIMPL;
}
