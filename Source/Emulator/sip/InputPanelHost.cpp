// The device's input panel host.
#include "sip/InputPanelHost.h"

#include <device/EventLog.h>
#include <device/Screen.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <wchar16.h>

#include "sip/InputMethodCatalog.h"

namespace {

constexpr const WCHAR* kSipClass = u"SipWndClass";
// Carries a std::function<void()>* from another thread to the SIP window's thread.
constexpr UINT WM_HOST_CALL = WM_APP + 0x51;
// The SIP window's height before the input method has placed it.
constexpr int kInitialSipHeight = 80;

void logSip(std::u16string_view text) {
    device::logEvent(u"sip", text);
}

std::u16string number(long value) {
    return platform::fromUtf8(std::to_string(value));
}

std::u16string resultText(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(result));
    return platform::fromUtf8(text);
}

std::u16string rectText(const RECT& r) {
    return number(r.left) + u" " + number(r.top) + u" " + number(r.right) + u" " + number(r.bottom);
}

BOOL CALLBACK forwardToChild(HWND child, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    SendMessageW(child, msg->message, msg->wParam, msg->lParam);
    return TRUE;
}

}  // namespace

InputPanelHost::InputPanelHost(std::function<int()> dockBottom, std::function<void()> changed)
    : m_dockBottom(std::move(dockBottom)),
      m_changed(std::move(changed)),
      m_callback([this](const IMINFO& info) {
          // The input method laid itself out again (a layout of another size, a new skin).
          placeFromInfo(info);
          announce();
      }) {}

InputPanelHost::~InputPanelHost() {
    stop();
}

LRESULT CALLBACK InputPanelHost::sipWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    switch (message) {
        case WM_HOST_CALL:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        case WM_SETTINGCHANGE: {
            // The input method's window inside learns of the change as the device's host
            // passes it on.
            MSG msg{hwnd, message, wParam, lParam, 0, {}};
            EnumChildWindows(hwnd, forwardToChild, reinterpret_cast<LPARAM>(&msg));
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool InputPanelHost::createSipWindow(std::string& error) {
    m_thread = GetCurrentThreadId();
    WNDCLASSW wc{};
    wc.lpfnWndProc = sipWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kSipClass;
    RegisterClassW(&wc);
    const int width = device::screenWidth();
    const int bottom = m_dockBottom();
    // Docked at the bottom, just above the menu bar: the input method measures its bottom
    // margin from this window. It never takes the activation from the program in front.
    m_sipWindow =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kSipClass, u"SIP",
                        WS_POPUP | WS_CLIPCHILDREN, 0, bottom - kInitialSipHeight, width,
                        kInitialSipHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_sipWindow == nullptr) {
        error = "cannot create the SIP window";
        return false;
    }
    device::setInputPanelHost(this);
    return true;
}

bool InputPanelHost::start(std::string& error) {
    if (!createSipWindow(error))
        return false;
    auto entry = chosenInputMethod();
    if (!entry) {
        error = "no input method is registered on the device";
        return false;
    }
    void* object = nullptr;
    HRESULT created =
        CoCreateInstance(entry->clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod2, &object);
    if (FAILED(created) || object == nullptr) {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08X", static_cast<unsigned>(created));
        error = "cannot create the input method " + platform::toUtf8(clsidText(entry->clsid)) +
                " (" + code + ")";
        return false;
    }
    return start(static_cast<IInputMethod2*>(object), entry->clsid, error);
}

bool InputPanelHost::start(IInputMethod2* inputMethod, const CLSID& clsid, std::string& error) {
    if (m_sipWindow == nullptr && !createSipWindow(error)) {
        inputMethod->Release();
        return false;
    }
    m_inputMethod = inputMethod;
    m_clsid = clsid;
    logSip(u"create " + clsidText(m_clsid));
    HRESULT selected = m_inputMethod->Select(m_sipWindow);
    logSip(u"Select " + resultText(selected));
    m_inputMethod->RegisterCallback(&m_callback);
    logSip(u"RegisterCallback");
    askForInfo();
    show(true);
    return true;
}

void InputPanelHost::stop() {
    if (device::inputPanelHost() == this)
        device::setInputPanelHost(nullptr);
    if (m_inputMethod != nullptr) {
        m_inputMethod->Deselect();
        logSip(u"Deselect");
        m_inputMethod->Release();
        m_inputMethod = nullptr;
    }
    if (m_sipWindow != nullptr) {
        DestroyWindow(m_sipWindow);
        m_sipWindow = nullptr;
    }
    m_shown = false;
    m_announced.reset();
}

void InputPanelHost::askForInfo() {
    if (m_inputMethod == nullptr)
        return;
    IMINFO info{};
    info.cbSize = sizeof(info);
    m_inputMethod->GetInfo(&info);
    logSip(u"GetInfo " + rectText(info.rcSipRect));
    placeFromInfo(info);
}

void InputPanelHost::placeFromInfo(const IMINFO& info) {
    // The input method has placed the SIP window itself; the host keeps the rectangle it
    // reported as the part of the desktop the panel covers, and its button pictures.
    m_imInfo = info;
    if (m_changed)
        m_changed();
}

void InputPanelHost::show(bool shown) {
    if (m_inputMethod == nullptr)
        return;
    if (shown) {
        m_inputMethod->Showing();
        logSip(u"Showing");
        askForInfo();
        ShowWindow(m_sipWindow, SW_SHOWNA);
    } else {
        m_inputMethod->Hiding();
        logSip(u"Hiding");
        ShowWindow(m_sipWindow, SW_HIDE);
    }
    m_shown = shown;
    if (m_changed)
        m_changed();
    announce();
}

void InputPanelHost::screenChanged() {
    if (m_inputMethod == nullptr)
        return;
    if (m_shown) {
        m_inputMethod->Showing();
        logSip(u"Showing");
        askForInfo();
    }
    announce();
}

SIPINFO InputPanelHost::currentInfo() const {
    SIPINFO info{};
    info.cbSize = sizeof(info);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    info.fdwFlags = SIPF_DOCKED | (m_shown ? SIPF_ON : 0);
    info.rcSipRect = m_imInfo.rcSipRect;
    // The visible desktop is the work area less the panel, when the panel is up and reaches
    // into it.
    info.rcVisibleDesktop = work;
    if (m_shown && m_imInfo.rcSipRect.top < work.bottom)
        info.rcVisibleDesktop.bottom = std::max(work.top, m_imInfo.rcSipRect.top);
    return info;
}

void InputPanelHost::announce() {
    const SIPINFO now = currentInfo();
    if (m_announced) {
        const SIPINFO& last = *m_announced;
        const bool sameRect = !m_shown || EqualRect(&now.rcSipRect, &last.rcSipRect);
        if (now.fdwFlags == last.fdwFlags &&
            EqualRect(&now.rcVisibleDesktop, &last.rcVisibleDesktop) && sameRect) {
            return;
        }
    }
    m_announced = now;
    logSip(u"WM_SETTINGCHANGE SPI_SETSIPINFO " +
           std::u16string(m_shown ? u"SIPF_ON " : u"SIPF_OFF ") + rectText(now.rcVisibleDesktop));
    // Told without waiting, as the screen-change broadcast is: the shell's thread never blocks
    // on a busy program, and each program reads the panel's state when it handles the message.
    SendNotifyMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
}

std::optional<int> InputPanelHost::shownLayout() {
    std::optional<int> layout;
    onHostThread([&] {
        if (m_inputMethod == nullptr)
            return;
        WORD block[2] = {2, 0};
        if (m_inputMethod->GetImData(sizeof(block), block) == S_OK)
            layout = static_cast<SHORT>(block[1]);
    });
    return layout;
}

bool InputPanelHost::onHostThread(const std::function<void()>& work) {
    if (GetCurrentThreadId() == m_thread) {
        work();
        return true;
    }
    // A window that is gone (the shell stopping) takes no work: the caller learns it failed.
    bool ran = false;
    const std::function<void()> call = [&] {
        work();
        ran = true;
    };
    if (m_sipWindow != nullptr)
        SendMessageW(m_sipWindow, WM_HOST_CALL, 0, reinterpret_cast<LPARAM>(&call));
    return ran;
}

bool InputPanelHost::currentInputMethod(CLSID& clsid) {
    bool known = false;
    onHostThread([&] {
        known = m_inputMethod != nullptr;
        if (known)
            clsid = m_clsid;
    });
    return known;
}

bool InputPanelHost::getInfo(SIPINFO& info) {
    return onHostThread([&] { info = currentInfo(); });
}

bool InputPanelHost::setInfo(const SIPINFO& info) {
    // The caller's block is copied before it crosses to the host's thread.
    std::vector<BYTE> block;
    if (info.dwImDataSize != 0) {
        const BYTE* bytes = static_cast<const BYTE*>(info.pvImData);
        block.assign(bytes, bytes + info.dwImDataSize);
    }
    bool ok = false;
    onHostThread([&] {
        if (m_inputMethod == nullptr)
            return;
        ok = true;
        const bool wantShown = (info.fdwFlags & SIPF_ON) != 0;
        if (wantShown != m_shown)
            show(wantShown);
        if (!block.empty()) {
            HRESULT result =
                m_inputMethod->SetImData(static_cast<DWORD>(block.size()), block.data());
            logSip(u"SetImData " + number(static_cast<long>(block.size())) + u" " +
                   resultText(result));
            ok = result == S_OK;
        }
    });
    return ok;
}

bool InputPanelHost::showInputMethod(DWORD flags) {
    bool ok = false;
    onHostThread([&] {
        if (m_inputMethod == nullptr)
            return;
        ok = true;
        const bool wantShown = flags == SIPF_ON;
        if (wantShown != m_shown)
            show(wantShown);
    });
    return ok;
}
