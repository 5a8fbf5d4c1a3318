// The device's shell on its own thread: the Today screen, the title bar, the menu bar and the
// input panel host, laid out for the screen and laid out again when the device turns. Other
// threads reach it through call(), which runs work on the shell's thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/MenuBar.h"
#include "shell/ShellLayout.h"
#include "shell/TitleBar.h"
#include "shell/TodayScreen.h"
#include "sip/InputPanelHost.h"

class Shell {
public:
    Shell();
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // On the shell's thread: sets the work area, creates the windows, loads the input method.
    // A failure to load the input method is kept as a warning: the device runs without it.
    bool start(std::string& error, std::string& warning);
    void stop();

    // Runs `work` on the shell's thread and waits for it.
    void call(const std::function<void()>& work);

    // On the shell's thread.
    void rotate();
    void toggleInputPanel();
    void refreshBars();

    InputPanelHost& inputPanel() { return m_inputPanel; }
    TitleBar& titleBar() { return m_titleBar; }
    TodayScreen& today() { return m_today; }
    const ShellLayout& layout() const { return m_layout; }

private:
    void applyLayout();
    void inputPanelChanged();

    ShellLayout m_layout;
    TitleBar m_titleBar;
    TodayScreen m_today;
    MenuBar m_menuBar;
    InputPanelHost m_inputPanel;
};
