// Running kvemu headlessly from a test: a script written to a fresh device folder, the exit
// status, and what kvemu wrote to its standard output and error; or a kvemu process fed its
// script line by line, which a test can also kill.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct KvemuResult {
    int status = -1;
    std::string out;
    std::string errors;
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
};

// kvemu --headless --script - on a device folder, reading its script from a pipe, its output
// and errors going to files.
class KvemuProcess {
public:
    KvemuProcess(const std::filesystem::path& device, const std::filesystem::path& out,
                 const std::filesystem::path& errors, const std::string& options = "") {
        // A kvemu that ended early must not take the test with it when the test writes on.
        ::signal(SIGPIPE, SIG_IGN);
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        // The shell gives way to kvemu (exec), so that the process id is kvemu's.
        const std::string command = std::string("exec '") + KVEMU_PATH + "' --headless --device '" +
                                    device.string() + "' --script - " + options + " > '" +
                                    out.string() + "' 2> '" + errors.string() + "'";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[0], 0);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        if (::posix_spawn(&m_pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv),
                          environ) != 0) {
            ADD_FAILURE() << "cannot start " << command;
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[0]);
        m_input = pipeFds[1];
    }
    ~KvemuProcess() {
        if (m_pid > 0)
            kill();
        closeInput();
    }
    KvemuProcess(const KvemuProcess&) = delete;
    KvemuProcess& operator=(const KvemuProcess&) = delete;

    pid_t pid() const { return m_pid; }
    void send(const std::string& lines) {
        for (size_t done = 0; done < lines.size();) {
            const ssize_t n = ::write(m_input, lines.data() + done, lines.size() - done);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }
    void closeInput() {
        if (m_input >= 0)
            ::close(m_input);
        m_input = -1;
    }
    // Ends the script and waits for kvemu: its exit status, -1 when it did not exit by itself.
    int finish() {
        closeInput();
        return wait();
    }
    void kill() {
        if (m_pid > 0)
            ::kill(m_pid, SIGKILL);
        wait();
    }
    // The exit status, -1 for a process ended by a signal.
    int wait() {
        if (m_pid > 0) {
            int raw = 0;
            if (::waitpid(m_pid, &raw, 0) == m_pid)
                m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            m_pid = -1;
        }
        return m_status;
    }
    // Whether kvemu has ended (its status then kept for wait).
    bool ended() {
        int raw = 0;
        if (m_pid > 0 && ::waitpid(m_pid, &raw, WNOHANG) == m_pid) {
            m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            m_pid = -1;
        }
        return m_pid <= 0;
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_status = -1;
};

class KvemuTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvemu-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
        keepShots();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::filesystem::path device() const { return m_folder / "device"; }
    std::filesystem::path file(const std::string& name) const { return m_folder / name; }

    // Runs kvemu --headless on this test's device folder with `script`.
    KvemuResult run(const std::string& script, const std::string& options = "") {
        static int runs = 0;
        const std::string n = std::to_string(++runs);
        std::ofstream(file("script" + n + ".txt"), std::ios::binary) << script;
        std::string command = std::string("'") + KVEMU_PATH + "' --headless --device '" +
                              device().string() + "' --script '" +
                              file("script" + n + ".txt").string() + "' " + options + " > '" +
                              file("out" + n).string() + "' 2> '" + file("err" + n).string() + "'";
        KvemuResult result;
        int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = slurp(file("out" + n));
        result.errors = slurp(file("err" + n));
        return result;
    }

    // Where a script's `shot` puts the screenshot `name` (a file name such as "faces-tasks.png"):
    // this test's own folder, which the test reads it back from whatever other runs write at the
    // same time. When the test ends it is kept in the build's screenshots folder for people to
    // look at.
    std::string shot(const std::string& name) {
        if (std::find(m_shots.begin(), m_shots.end(), name) == m_shots.end())
            m_shots.push_back(name);
        return file(name).string();
    }

    static std::string slurp(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path m_folder;

private:
    // Each screenshot replaces the kept one whole (written beside it, then renamed), so that a
    // reader never sees half of one.
    void keepShots() const {
        const std::filesystem::path kept(SCREENSHOT_DIR);
        std::error_code error;
        std::filesystem::create_directories(kept, error);
        for (const std::string& name : m_shots) {
            if (!std::filesystem::exists(file(name)))
                continue;
            const std::filesystem::path part = kept / (name + ".part" + std::to_string(::getpid()));
            if (std::filesystem::copy_file(
                    file(name), part, std::filesystem::copy_options::overwrite_existing, error))
                std::filesystem::rename(part, kept / name, error);
        }
    }

    std::vector<std::string> m_shots;
};
