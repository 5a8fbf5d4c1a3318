// A test input panel host: a SIP window docked at the bottom of the screen, a callback that
// records every call an input method makes with its arguments, answers to the Sip* calls, and
// helpers that tap the stylus at points of a panel window and advance the virtual clock while
// the test thread's messages are dispatched.
#pragma once

#include <device/InputPanel.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// One call the input method made on the host's callback.
struct CallbackCall {
    enum class Kind { SetImInfo, SendVirtualKey, SendCharEvents, SendString, SendAlternatives2 };
    Kind kind = Kind::SendVirtualKey;
    UINT vk = 0;
    UINT flags = 0;  // SendVirtualKey: its flags; SendCharEvents: the key flags
    UINT count = 0;  // SendCharEvents: characters; SendString: characters
    std::vector<UINT> shift;
    std::vector<UINT> chars;
    std::u16string text;

    static CallbackCall virtualKey(UINT vk, UINT flags);
    static CallbackCall charEvent(UINT vk, UINT keyFlags, UINT shiftState, UINT ch);
    static CallbackCall string(std::u16string text);
    bool operator==(const CallbackCall& other) const = default;
};
void PrintTo(const CallbackCall& call, std::ostream* out);

class RecordingCallback : public IIMCallback2 {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override { return --m_refs; }
    STDMETHOD(SetImInfo)(IMINFO* pimi) override;
    STDMETHOD(SendVirtualKey)(BYTE bVk, DWORD dwFlags) override;
    STDMETHOD(SendCharEvents)
    (UINT uVk, UINT uKeyFlags, UINT uChars, UINT* puShift, UINT* puChars) override;
    STDMETHOD(SendString)(BSTR ptszStr, DWORD dwChars) override;
    STDMETHOD(SendAlternatives2)(LPIMENUMINFO2 lpIMEnumInfo) override;

    std::vector<CallbackCall> calls;
    IMINFO lastImInfo{};

private:
    ULONG m_refs = 1;
};

class TestInputPanelHost : public device::InputPanelHost {
public:
    // Provisions what the device's set-up would (the imaging factory's class entry), creates
    // the SIP window `height` pixels high along the bottom of the screen and installs itself.
    explicit TestInputPanelHost(int height = 80);
    ~TestInputPanelHost() override;
    TestInputPanelHost(const TestInputPanelHost&) = delete;
    TestInputPanelHost& operator=(const TestInputPanelHost&) = delete;

    HWND sipWindow() const { return m_sipWindow; }
    RecordingCallback& callback() { return m_callback; }

    // The input method that Sip* data blocks reach (SetImData) and SipGetCurrentIM names.
    void setInputMethod(IInputMethod* inputMethod, const CLSID& clsid);

    // Stylus events at client points of `window` (a panel inside the SIP window); each is
    // dispatched before the call returns.
    void stylusDown(HWND window, int x, int y);
    void stylusMove(HWND window, int x, int y);
    void stylusUp(HWND window, int x, int y);
    void tap(HWND window, int x, int y);

    // Dispatches every message waiting for the test thread.
    void pump();
    // Moves the virtual clock forward one millisecond at a time, dispatching after each, so
    // that timers fire at their exact times and in order.
    void advance(uint64_t ms);

    // Data blocks received through SipSetInfo, in order.
    std::vector<std::vector<BYTE>> imDataBlocks;
    bool shown = true;

    bool currentInputMethod(CLSID& clsid) override;
    bool getInfo(SIPINFO& info) override;
    bool setInfo(const SIPINFO& info) override;
    bool showInputMethod(DWORD flags) override;

private:
    POINT toScreen(HWND window, int x, int y) const;

    RecordingCallback m_callback;
    HWND m_sipWindow = nullptr;
    IInputMethod* m_inputMethod = nullptr;
    CLSID m_clsid{};
};
