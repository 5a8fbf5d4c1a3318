// The host's callback that an input method sends its output through: key strokes and
// characters become key and character messages posted to the focused window of the foreground
// program, as the device's input panel delivers them.
#pragma once

#include <sip.h>

#include <functional>

class HostCallback : public IIMCallback2 {
public:
    // Called on the host's thread when the input method reports new information.
    explicit HostCallback(std::function<void(const IMINFO&)> onImInfo)
        : m_onImInfo(std::move(onImInfo)) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    // The host owns the callback; the input method borrows it and never counts it.
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(SetImInfo)(IMINFO* pimi) override;
    STDMETHOD(SendVirtualKey)(BYTE bVk, DWORD dwFlags) override;
    STDMETHOD(SendCharEvents)
    (UINT uVk, UINT uKeyFlags, UINT uChars, UINT* puShift, UINT* puChars) override;
    STDMETHOD(SendString)(BSTR ptszStr, DWORD dwChars) override;
    STDMETHOD(SendAlternatives2)(LPIMENUMINFO2 lpIMEnumInfo) override;

    // The most characters one SendCharEvents or SendString call delivers; the rest are dropped.
    static constexpr UINT kMaxCharacters = 1024;

private:
    std::function<void(const IMINFO&)> m_onImInfo;
};
