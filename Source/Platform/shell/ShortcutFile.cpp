// Reading and writing shortcut files.
#include "shell/ShortcutFile.h"

#include <wchar16.h>
#include <winbase.h>

#include <charconv>
#include <memory>

namespace platform {

namespace {

// A shortcut is one line; a trailing line break is allowed.
std::string_view withoutLineBreak(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        bytes.remove_suffix(1);
    return bytes;
}

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using File = std::unique_ptr<void, FileCloser>;

File openFile(std::u16string_view devicePath, DWORD access, DWORD disposition) {
    std::u16string path(devicePath);
    HANDLE file =
        CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return File(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

}  // namespace

std::string shortcutText(std::u16string_view target) {
    return std::to_string(target.size()) + "#" + toUtf8(target);
}

std::optional<std::u16string> parseShortcut(std::string_view bytes) {
    if (bytes.size() > kMaxShortcutBytes)
        return std::nullopt;
    bytes = withoutLineBreak(bytes);
    size_t hash = bytes.find('#');
    if (hash == 0 || hash == std::string_view::npos || hash > 4)
        return std::nullopt;
    size_t length = 0;
    auto [end, error] = std::from_chars(bytes.data(), bytes.data() + hash, length);
    if (error != std::errc() || end != bytes.data() + hash)
        return std::nullopt;
    std::string_view text = bytes.substr(hash + 1);
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
    }
    std::u16string target = fromUtf8(text);
    if (target.empty() || target.size() != length || target.find(u'\uFFFD') != std::u16string::npos)
        return std::nullopt;
    return target;
}

bool writeShortcut(std::u16string_view devicePath, std::u16string_view target) {
    File file = openFile(devicePath, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file)
        return false;
    std::string text = shortcutText(target);
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

std::optional<std::u16string> readShortcut(std::u16string_view devicePath) {
    File file = openFile(devicePath, GENERIC_READ, OPEN_EXISTING);
    if (!file)
        return std::nullopt;
    // One byte more than a shortcut may have, so that a longer file is seen and refused.
    std::string bytes(kMaxShortcutBytes + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return parseShortcut(bytes);
}

}  // namespace platform
