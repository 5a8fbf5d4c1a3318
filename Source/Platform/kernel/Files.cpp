// File calls on device paths: open files as kernel objects, attributes, folders, deleting,
// copying, and the C library's stream open.
#include <device/FileSystem.h>
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include <wchar16.h>
#include "kernel/DevicePath.h"
#include "kernel/KernelObject.h"

namespace platform {

namespace {

class OpenFile : public KernelObject {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile() override { ::close(m_fd); }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Resolves a device path for a call, setting the last error when it cannot be.
std::optional<std::filesystem::path> hostPathFor(LPCWSTR devicePath) {
    if (devicePath == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    auto host = device::resolveDevicePath(devicePath);
    if (!host)
        SetLastError(ERROR_ACCESS_DENIED);
    return host;
}

DWORD errorFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC:
            return ERROR_WRITE_FAULT;
        default:
            return ERROR_INVALID_FUNCTION;
    }
}

// Opens a host file for a device call. The device's file system holds files and folders only:
// a folder, or anything else the host keeps there (a FIFO, a socket, a device node), is refused
// at once rather than waited on.
int openRegularFile(const std::filesystem::path& host, int flags) {
    const int fd = ::open(host.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        SetLastError(errorFromErrno(errno));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::shared_ptr<OpenFile> openFileOf(HANDLE handle) {
    auto file = objectAs<OpenFile>(handle);
    if (!file)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

}  // namespace

}  // namespace platform

using platform::hostPathFor;

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD, HANDLE) {
    auto host = hostPathFor(fileName);
    if (!host)
        return INVALID_HANDLE_VALUE;
    int flags = 0;
    bool read = desiredAccess & GENERIC_READ, write = desiredAccess & GENERIC_WRITE;
    flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    switch (creationDisposition) {
        case CREATE_NEW:
            flags |= O_CREAT | O_EXCL;
            break;
        case CREATE_ALWAYS:
            flags |= O_CREAT | O_TRUNC;
            break;
        case OPEN_EXISTING:
            break;
        case OPEN_ALWAYS:
            flags |= O_CREAT;
            break;
        case TRUNCATE_EXISTING:
            flags |= O_TRUNC;
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
    }
    const int fd = platform::openRegularFile(*host, flags);
    if (fd < 0)
        return INVALID_HANDLE_VALUE;
    SetLastError(ERROR_SUCCESS);
    return platform::addHandle(std::make_shared<platform::OpenFile>(fd));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPVOID) {
    if (bytesRead)
        *bytesRead = 0;
    auto open = platform::openFileOf(file);
    if (!open)
        return FALSE;
    DWORD total = 0;
    while (total < bytesToRead) {
        ssize_t got = ::read(open->fd(), static_cast<char*>(buffer) + total, bytesToRead - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        if (got == 0)
            break;
        total += static_cast<DWORD>(got);
    }
    if (bytesRead)
        *bytesRead = total;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPVOID) {
    if (bytesWritten)
        *bytesWritten = 0;
    auto open = platform::openFileOf(file);
    if (!open)
        return FALSE;
    DWORD total = 0;
    while (total < bytesToWrite) {
        ssize_t put =
            ::write(open->fd(), static_cast<const char*>(buffer) + total, bytesToWrite - total);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            SetLastError(ERROR_WRITE_FAULT);
            if (bytesWritten)
                *bytesWritten = total;
            return FALSE;
        }
        total += static_cast<DWORD>(put);
    }
    if (bytesWritten)
        *bytesWritten = total;
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
    auto open = platform::openFileOf(file);
    if (!open)
        return INVALID_SET_FILE_POINTER;
    int64_t offset =
        distanceHigh ? (static_cast<int64_t>(*distanceHigh) << 32) | static_cast<uint32_t>(distance)
                     : distance;
    int whence = moveMethod == FILE_BEGIN     ? SEEK_SET
                 : moveMethod == FILE_CURRENT ? SEEK_CUR
                 : moveMethod == FILE_END     ? SEEK_END
                                              : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    off_t result = ::lseek(open->fd(), offset, whence);
    if (result < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh)
        *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(result) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(result);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
    auto open = platform::openFileOf(file);
    if (!open)
        return INVALID_FILE_SIZE;
    struct stat info {};
    if (::fstat(open->fd(), &info) != 0)
        return INVALID_FILE_SIZE;
    if (fileSizeHigh)
        *fileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
    return static_cast<DWORD>(info.st_size);
}

BOOL FlushFileBuffers(HANDLE file) {
    auto open = platform::openFileOf(file);
    return open && ::fsync(open->fd()) == 0;
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
    auto host = hostPathFor(fileName);
    if (!host)
        return INVALID_FILE_ATTRIBUTES;
    struct stat info {};
    if (::stat(host->c_str(), &info) != 0) {
        SetLastError(platform::errorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    return (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
    auto host = hostPathFor(pathName);
    if (!host)
        return FALSE;
    if (::mkdir(host->c_str(), 0755) != 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : platform::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR pathName) {
    auto host = hostPathFor(pathName);
    if (!host)
        return FALSE;
    if (::rmdir(host->c_str()) != 0) {
        SetLastError(platform::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
    auto host = hostPathFor(fileName);
    if (!host)
        return FALSE;
    struct stat info {};
    if (::stat(host->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (::unlink(host->c_str()) != 0) {
        SetLastError(platform::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    auto from = hostPathFor(existingFileName);
    auto to = hostPathFor(newFileName);
    if (!from || !to)
        return FALSE;
    std::error_code error;
    auto options = failIfExists ? std::filesystem::copy_options::none
                                : std::filesystem::copy_options::overwrite_existing;
    if (!std::filesystem::is_regular_file(*from, error)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!std::filesystem::copy_file(*from, *to, options, error)) {
        SetLastError(error.value() == EEXIST ? ERROR_FILE_EXISTS
                                             : platform::errorFromErrno(error.value()));
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
    auto from = hostPathFor(existingFileName);
    auto to = hostPathFor(newFileName);
    if (!from || !to)
        return FALSE;
    struct stat info {};
    if (::stat(to->c_str(), &info) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (::rename(from->c_str(), to->c_str()) != 0) {
        SetLastError(platform::errorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

FILE* _wfopen(const WCHAR* fileName, const WCHAR* mode) {
    auto host = hostPathFor(fileName);
    if (!host || mode == nullptr)
        return nullptr;
    std::string hostMode = platform::toUtf8(mode);
    // Only fopen's own mode letters reach the C library.
    if (hostMode.empty() || hostMode.find_first_not_of("rwab+tx") != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // fopen's meaning of the mode, on a descriptor that only a regular file gives.
    int flags = 0;
    switch (hostMode[0]) {
        case 'r':
            flags = O_RDONLY;
            break;
        case 'w':
            flags = O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case 'a':
            flags = O_WRONLY | O_CREAT | O_APPEND;
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
    if (hostMode.find('+') != std::string::npos)
        flags = (flags & ~O_WRONLY) | O_RDWR;
    if (hostMode.find('x') != std::string::npos)
        flags |= O_EXCL;
    const int fd = platform::openRegularFile(*host, flags);
    if (fd < 0)
        return nullptr;
    FILE* file = ::fdopen(fd, hostMode.c_str());
    if (!file) {
        SetLastError(platform::errorFromErrno(errno));
        ::close(fd);
    }
    return file;
}
