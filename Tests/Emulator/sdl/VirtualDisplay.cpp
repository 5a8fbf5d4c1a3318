// Starting Xvfb with -displayfd, so that the server picks a free display number and writes it
// to a pipe once it accepts clients.
#include "VirtualDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

extern char** environ;

namespace {

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    const std::string xvfb = findProgram("Xvfb");
    if (xvfb.empty()) {
        m_problem = "Xvfb is not installed (Debian package xvfb)";
        return;
    }
    int fds[2];
    if (::pipe(fds) != 0) {
        m_problem = "no pipe for Xvfb";
        return;
    }
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {xvfb,          "-displayfd", fd,    "-screen", "0",
                                     "1024x768x24", "-nolisten",  "tcp", "-noreset"};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&m_pid, xvfb.c_str(), nullptr, nullptr, argv.data(), environ);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        m_pid = -1;
        m_problem = "Xvfb could not be started";
        return;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0) {
        char c = 0;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (number.empty()) {
        m_problem = "Xvfb did not report a display";
        return;
    }
    m_name = ":" + number;
    ::setenv("DISPLAY", m_name.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}
