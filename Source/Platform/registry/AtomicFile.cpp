// Atomic replacement of a file: temporary file in the same folder, write, fsync, rename, and
// fsync of the folder so that the rename itself is durable.
#include "registry/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

std::atomic<platform::ReplaceStop> g_stop{platform::ReplaceStop::Never};

std::string describe(const char* step, const std::filesystem::path& path) {
    return std::string(step) + " " + path.string() + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

void platform::setReplaceStop(ReplaceStop stop) {
    g_stop = stop;
}

namespace device {

std::filesystem::path replacementTemporaryOf(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    return temporary;
}

bool removeLeftoverReplacement(const std::filesystem::path& path, std::string& error) {
    const std::filesystem::path temporary = replacementTemporaryOf(path);
    std::error_code code;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(temporary, code)))
        return true;
    if (!std::filesystem::remove(temporary, code) && code) {
        error =
            "cannot remove " + temporary.string() + ", left by a save cut short: " + code.message();
        return false;
    }
    return true;
}

bool replaceFileContents(const std::filesystem::path& path, std::string_view contents,
                         std::string& error) {
    const std::filesystem::path temporary = replacementTemporaryOf(path);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = describe("cannot create", temporary);
        return false;
    }
    if (!writeAll(fd, contents) || ::fsync(fd) != 0) {
        error = describe("cannot write", temporary);
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::close(fd) != 0) {
        error = describe("cannot write", temporary);
        ::unlink(temporary.c_str());
        return false;
    }
    if (g_stop == platform::ReplaceStop::BeforeRename) {
        error = "the save of " + path.string() + " was stopped before the rename";
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = describe("cannot replace", path);
        ::unlink(temporary.c_str());
        return false;
    }
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

}  // namespace device
