// The test input panel host.
#include "TestInputPanelHost.h"

#include <device/Clock.h>
#include <device/Input.h>
#include <device/Screen.h>

#include <ostream>

namespace {

constexpr const WCHAR* kSipClassName = u"TestSipWindow";

BOOL CALLBACK forwardToChild(HWND child, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    SendMessageW(child, msg->message, msg->wParam, msg->lParam);
    return TRUE;
}

// The SIP window passes setting changes on to the input method's window inside it.
LRESULT CALLBACK sipWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        MSG msg{hWnd, message, wParam, lParam, 0, {}};
        EnumChildWindows(hWnd, forwardToChild, reinterpret_cast<LPARAM>(&msg));
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

// HKCR\CLSID\{imaging factory}\InprocServer32 = "imaging.dll", as the device is provisioned.
void provisionImagingClass() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT,
                        u"CLSID\\{327ABDA8-072B-11D3-9D7B-0000F81EF32E}\\InprocServer32", 0,
                        nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    const WCHAR library[] = u"imaging.dll";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(library),
                   sizeof(library));
    RegCloseKey(key);
}

}  // namespace

CallbackCall CallbackCall::virtualKey(UINT vk, UINT flags) {
    CallbackCall call;
    call.kind = Kind::SendVirtualKey;
    call.vk = vk;
    call.flags = flags;
    return call;
}

CallbackCall CallbackCall::charEvent(UINT vk, UINT keyFlags, UINT shiftState, UINT ch) {
    CallbackCall call;
    call.kind = Kind::SendCharEvents;
    call.vk = vk;
    call.flags = keyFlags;
    call.count = 1;
    call.shift = {shiftState};
    call.chars = {ch};
    return call;
}

CallbackCall CallbackCall::string(std::u16string text) {
    CallbackCall call;
    call.kind = Kind::SendString;
    call.count = static_cast<UINT>(text.size());
    call.text = std::move(text);
    return call;
}

void PrintTo(const CallbackCall& call, std::ostream* out) {
    static const char* const names[] = {"SetImInfo", "SendVirtualKey", "SendCharEvents",
                                        "SendString", "SendAlternatives2"};
    *out << names[static_cast<int>(call.kind)] << "(vk 0x" << std::hex << call.vk << ", flags 0x"
         << call.flags << ", count " << std::dec << call.count;
    for (UINT s : call.shift)
        *out << ", shift 0x" << std::hex << s;
    for (UINT c : call.chars)
        *out << ", char 0x" << std::hex << c;
    *out << std::dec << ", text length " << call.text.size() << ")";
}

STDMETHODIMP RecordingCallback::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IIMCallback || riid == IID_IIMCallback2) {
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP RecordingCallback::SetImInfo(IMINFO* pimi) {
    CallbackCall call;
    call.kind = CallbackCall::Kind::SetImInfo;
    if (pimi != nullptr)
        lastImInfo = *pimi;
    calls.push_back(call);
    return S_OK;
}

STDMETHODIMP RecordingCallback::SendVirtualKey(BYTE bVk, DWORD dwFlags) {
    calls.push_back(CallbackCall::virtualKey(bVk, dwFlags));
    return S_OK;
}

STDMETHODIMP RecordingCallback::SendCharEvents(UINT uVk, UINT uKeyFlags, UINT uChars, UINT* puShift,
                                               UINT* puChars) {
    CallbackCall call;
    call.kind = CallbackCall::Kind::SendCharEvents;
    call.vk = uVk;
    call.flags = uKeyFlags;
    call.count = uChars;
    for (UINT i = 0; i < uChars && puShift != nullptr && puChars != nullptr; ++i) {
        call.shift.push_back(puShift[i]);
        call.chars.push_back(puChars[i]);
    }
    calls.push_back(call);
    return S_OK;
}

STDMETHODIMP RecordingCallback::SendString(BSTR ptszStr, DWORD dwChars) {
    calls.push_back(CallbackCall::string(ptszStr != nullptr ? std::u16string(ptszStr, dwChars)
                                                            : std::u16string()));
    return S_OK;
}

STDMETHODIMP RecordingCallback::SendAlternatives2(LPIMENUMINFO2) {
    CallbackCall call;
    call.kind = CallbackCall::Kind::SendAlternatives2;
    calls.push_back(call);
    return S_OK;
}

TestInputPanelHost::TestInputPanelHost(int height) {
    provisionImagingClass();
    WNDCLASSW wc{};
    wc.lpfnWndProc = sipWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kSipClassName;
    RegisterClassW(&wc);
    const int width = device::screenWidth();
    // As the device's own input panel: a tool window (task lists leave it out) that a tap
    // does not activate (the program in front keeps the focus).
    m_sipWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kSipClassName, u"SIP",
                                  WS_POPUP | WS_VISIBLE, 0, device::screenHeight() - height, width,
                                  height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    device::setInputPanelHost(this);
}

TestInputPanelHost::~TestInputPanelHost() {
    device::setInputPanelHost(nullptr);
    if (m_sipWindow != nullptr)
        DestroyWindow(m_sipWindow);
    pump();
    UnregisterClassW(kSipClassName, GetModuleHandleW(nullptr));
}

void TestInputPanelHost::setInputMethod(IInputMethod* inputMethod, const CLSID& clsid) {
    m_inputMethod = inputMethod;
    m_clsid = clsid;
}

POINT TestInputPanelHost::toScreen(HWND window, int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void TestInputPanelHost::stylusDown(HWND window, int x, int y) {
    POINT p = toScreen(window, x, y);
    device::stylusDown(p.x, p.y);
    pump();
}

void TestInputPanelHost::stylusMove(HWND window, int x, int y) {
    POINT p = toScreen(window, x, y);
    device::stylusMove(p.x, p.y);
    pump();
}

void TestInputPanelHost::stylusUp(HWND window, int x, int y) {
    POINT p = toScreen(window, x, y);
    device::stylusUp(p.x, p.y);
    pump();
}

void TestInputPanelHost::tap(HWND window, int x, int y) {
    stylusDown(window, x, y);
    stylusUp(window, x, y);
}

void TestInputPanelHost::pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TestInputPanelHost::advance(uint64_t ms) {
    for (uint64_t i = 0; i < ms; ++i) {
        device::advanceClock(1);
        pump();
    }
}

bool TestInputPanelHost::currentInputMethod(CLSID& clsid) {
    if (m_inputMethod == nullptr)
        return false;
    clsid = m_clsid;
    return true;
}

bool TestInputPanelHost::getInfo(SIPINFO& info) {
    RECT sip{};
    GetWindowRect(m_sipWindow, &sip);
    info.fdwFlags = SIPF_DOCKED | (shown ? SIPF_ON : 0);
    info.rcSipRect = sip;
    info.rcVisibleDesktop = {0, 0, device::screenWidth(), shown ? sip.top : device::screenHeight()};
    info.dwImDataSize = 0;
    info.pvImData = nullptr;
    return true;
}

bool TestInputPanelHost::setInfo(const SIPINFO& info) {
    if (info.dwImDataSize != 0) {
        const BYTE* bytes = static_cast<const BYTE*>(info.pvImData);
        imDataBlocks.emplace_back(bytes, bytes + info.dwImDataSize);
        if (m_inputMethod != nullptr)
            m_inputMethod->SetImData(info.dwImDataSize, info.pvImData);
    }
    return true;
}

bool TestInputPanelHost::showInputMethod(DWORD flags) {
    shown = flags == SIPF_ON;
    ShowWindow(m_sipWindow, shown ? SW_SHOW : SW_HIDE);
    return true;
}
