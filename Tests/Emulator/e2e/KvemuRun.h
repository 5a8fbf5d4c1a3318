// Running kvemu headlessly from a test: a script written to a fresh device folder, the exit
// status, and what kvemu wrote to its standard output and error.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

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

class KvemuTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvemu-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
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

    static std::string slurp(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path m_folder;
};
