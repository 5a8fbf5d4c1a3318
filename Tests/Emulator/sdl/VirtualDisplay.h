// An X display of the test's own: a private Xvfb server started for the test and ended with
// it, with DISPLAY pointing at it meanwhile. Tests that need a desktop skip when Xvfb is not
// installed.
#pragma once

#include <sys/types.h>

#include <string>

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // True once the server is up and DISPLAY names it.
    bool running() const { return !m_name.empty(); }
    // Why there is no display, for a skip message.
    const std::string& problem() const { return m_problem; }

private:
    pid_t m_pid = -1;
    std::string m_name;
    std::string m_problem;
};
