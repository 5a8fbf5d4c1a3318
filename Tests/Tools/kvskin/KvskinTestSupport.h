// Helpers of the kvskin tests: running the built tool, host files, and small skin sources.
#pragma once

#include <DeviceTest.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kvskintest {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeHostFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// Runs the kvskin program with arguments (already quoted), its output kept in `folder`.
inline ToolRun runKvskin(const std::filesystem::path& folder, const std::string& arguments) {
    auto out = folder / "tool-out.txt";
    auto err = folder / "tool-err.txt";
    std::string command = std::string("'") + KVSKIN_PATH + "' " + arguments + " >" + quoted(out) +
                          " 2>" + quoted(err);
    int raw = std::system(command.c_str());
    ToolRun result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readHostFile(out);
    result.err = readHostFile(err);
    return result;
}

// A source with one face "f" of the given rows (JSON text) and one class P of 240x80, unless
// the test gives its own faces and classes.
inline std::string oneFaceSource(
    const std::string& rows, const std::string& faceExtra = "",
    const std::string& classes = R"({"P": {"size": [240, 80], "layouts": ["f"]}})") {
    return R"({"faces": {"f": {)" + faceExtra + (faceExtra.empty() ? "" : ", ") + R"("rows": )" +
           rows + R"(}}, "classes": )" + classes + "}";
}

}  // namespace kvskintest
