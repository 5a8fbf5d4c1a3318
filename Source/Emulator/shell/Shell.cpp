// The device's shell.
#include "shell/Shell.h"

#include <device/Display.h>
#include <device/EventLog.h>
#include <device/Screen.h>

#include "shell/ThreadCall.h"

Shell::Shell()
    : m_menuBar(MenuBarActions{[this] { SetForegroundWindow(m_today.window()); },
                               [this] { toggleInputPanel(); }}),
      m_inputPanel([this] { return m_layout.menuBar.top; }, [this] { inputPanelChanged(); }) {}

Shell::~Shell() {
    stop();
}

bool Shell::start(std::string& error, std::string& warning) {
    m_layout = shellLayout(device::screenWidth(), device::screenHeight());
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_layout.workArea, 0);
    if (!m_today.create(m_layout.workArea) || !m_titleBar.create(m_layout.titleBar) ||
        !m_menuBar.create(m_layout)) {
        error = "cannot create the shell's windows";
        return false;
    }
    SetForegroundWindow(m_today.window());
    if (!m_inputPanel.start(warning))
        warning = "the device runs without a keyboard: " + warning;
    // The menu bar stays above the panel, which may reach into it by a pixel or two.
    SetWindowPos(m_menuBar.window(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    inputPanelChanged();
    return true;
}

void Shell::stop() {
    m_inputPanel.stop();
}

void Shell::call(const std::function<void()>& work) {
    runOnWindowThread(m_menuBar.window(), work);
}

void Shell::applyLayout() {
    m_layout = shellLayout(device::screenWidth(), device::screenHeight());
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_layout.workArea, 0);
    m_titleBar.move(m_layout.titleBar);
    m_menuBar.move(m_layout);
    m_today.move(m_layout.workArea);
}

void Shell::rotate() {
    const int width = device::screenHeight();
    const int height = device::screenWidth();
    if (!device::setScreenSize(width, height))
        return;
    device::logEvent(u"screen",
                     platform::fromUtf8(std::to_string(width) + "x" + std::to_string(height)));
    applyLayout();
    // Every top-level window hears of the new screen; the SIP window passes it on to the
    // input method's window. Then, as the device's host does, Showing and GetInfo if the panel
    // is up, and the programs hear of the new visible desktop.
    device::onScreenSizeChanged();
    m_inputPanel.screenChanged();
    // The input method has moved the SIP window: the menu bar goes back above it.
    m_menuBar.move(m_layout);
}

void Shell::toggleInputPanel() {
    m_inputPanel.showInputMethod(m_inputPanel.shown() ? SIPF_OFF : SIPF_ON);
}

void Shell::refreshBars() {
    m_titleBar.refresh();
}

void Shell::inputPanelChanged() {
    const IMINFO& info = m_inputPanel.imInfo();
    m_menuBar.setInputPanelButton(static_cast<HIMAGELIST>(info.hImageWide),
                                  static_cast<HIMAGELIST>(info.hImageNarrow), m_inputPanel.shown());
}
