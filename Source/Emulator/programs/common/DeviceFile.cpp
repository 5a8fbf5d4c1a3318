// Whole device files through the platform's file calls.
#include "programs/common/DeviceFile.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace {

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using File = std::unique_ptr<void, FileCloser>;

}  // namespace

DeviceFileBytes readDeviceFile(std::u16string_view devicePath, size_t maxBytes) {
    DeviceFileBytes result;
    const std::u16string path(devicePath);
    File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        const DWORD error = GetLastError();
        result.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                           ? FileRead::Missing
                           : FileRead::Unreadable;
        return result;
    }
    // One byte more than wanted, so that a longer file is noticed.
    std::string bytes(maxBytes + 1, '\0');
    size_t total = 0;
    while (total < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - total, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + total, chunk, &read, nullptr)) {
            result.state = FileRead::Unreadable;
            return result;
        }
        if (read == 0)
            break;
        total += read;
    }
    result.truncated = total > maxBytes;
    bytes.resize(std::min(total, maxBytes));
    result.bytes = std::move(bytes);
    result.state = FileRead::Read;
    return result;
}

bool saveDeviceFile(std::u16string_view devicePath, std::string_view bytes) {
    const std::u16string path(devicePath);
    File file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}
