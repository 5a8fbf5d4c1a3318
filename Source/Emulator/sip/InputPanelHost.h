// The device's input panel host: creates the current input method through COM, owns the SIP
// window docked above the menu bar and drives the input method on the shell's thread (Select,
// RegisterCallback, GetInfo, Showing/Hiding, Deselect). After the panel is shown, hidden or
// resized it tells every top-level window (WM_SETTINGCHANGE, SPI_SETSIPINFO), so that programs
// fit their windows to what the panel leaves visible. The Sip* calls of every program reach it
// through device::InputPanelHost and are carried over to the shell's thread.
#pragma once

#include <device/InputPanel.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "sip/HostCallback.h"

class InputPanelHost : public device::InputPanelHost {
public:
    // `dockBottom` gives the screen row the SIP window's bottom rests on (the menu bar's top);
    // `changed` is called on the shell's thread whenever the panel's rectangle, pictures or
    // visibility change (the menu bar redraws its button).
    InputPanelHost(std::function<int()> dockBottom, std::function<void()> changed);
    ~InputPanelHost() override;
    InputPanelHost(const InputPanelHost&) = delete;
    InputPanelHost& operator=(const InputPanelHost&) = delete;

    // On the shell's thread: creates the SIP window and the current input method, selects it
    // and shows the panel. False with a message when there is no input method to load (the
    // device then runs without a keyboard).
    bool start(std::string& error);
    // The same with an input method already created (the host takes over its reference).
    bool start(IInputMethod2* inputMethod, const CLSID& clsid, std::string& error);
    // Deselects and releases the input method and destroys the SIP window.
    void stop();

    // The screen was rotated (after the broadcast): Showing, then GetInfo, when the panel is
    // shown; then programs hear of the new visible desktop.
    void screenChanged();

    HWND sipWindow() const { return m_sipWindow; }
    bool shown() const { return m_shown; }
    const IMINFO& imInfo() const { return m_imInfo; }
    // The layout number the input method reports (GetImData {2}), or nothing.
    std::optional<int> shownLayout();

    // device::InputPanelHost, callable from any thread.
    bool currentInputMethod(CLSID& clsid) override;
    bool getInfo(SIPINFO& info) override;
    bool setInfo(const SIPINFO& info) override;
    bool showInputMethod(DWORD flags) override;

private:
    static LRESULT CALLBACK sipWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs `work` on the shell's thread and returns when it is done; false when it could not
    // run there (the SIP window is gone).
    bool onHostThread(const std::function<void()>& work);
    bool createSipWindow(std::string& error);
    void show(bool shown);
    void askForInfo();
    void placeFromInfo(const IMINFO& info);
    // What SipGetInfo reports now, without a data block.
    SIPINFO currentInfo() const;
    // Broadcasts WM_SETTINGCHANGE with SPI_SETSIPINFO when what programs see of the panel (shown
    // or not, the visible desktop, the panel's rectangle while shown) differs from the last
    // broadcast.
    void announce();

    std::function<int()> m_dockBottom;
    std::function<void()> m_changed;
    HostCallback m_callback;
    HWND m_sipWindow = nullptr;
    DWORD m_thread = 0;
    IInputMethod2* m_inputMethod = nullptr;
    CLSID m_clsid{};
    IMINFO m_imInfo{};
    bool m_shown = false;
    std::optional<SIPINFO> m_announced;
};
