// Finding the command that opens a file: shortcuts are followed, programs start themselves,
// documents go to the program their extension names.
#include "shell/OpenCommand.h"

#include <winbase.h>
#include <winerror.h>
#include <winreg.h>

#include "kernel/CommandLine.h"
#include "kernel/DevicePath.h"
#include "kernel/Process.h"
#include "registry/TextValue.h"
#include "shell/ShortcutFile.h"

namespace platform {

namespace {

// A shortcut may name another shortcut; a chain longer than this is taken as a loop.
constexpr int kMaxShortcutChain = 8;

// ".htm" of "\My Documents\a.b\page.htm"; empty when the file name has no dot.
std::u16string_view extensionOf(std::u16string_view path) {
    std::u16string_view name = deviceFileNameOf(path);
    size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

std::u16string joined(std::u16string_view first, std::u16string_view second) {
    if (first.empty())
        return std::u16string(second);
    if (second.empty())
        return std::u16string(first);
    return std::u16string(first) + u" " + std::u16string(second);
}

// The "open" command of the document's extension, with "%1" standing for the document (the
// document is added at the end when the command has no "%1").
std::variant<OpenCommand, DWORD> associatedCommand(std::u16string_view document) {
    const std::u16string_view extension = extensionOf(document);
    if (extension.size() < 2)
        return static_cast<DWORD>(ERROR_NO_ASSOCIATION);
    auto fileClass = readRegistryText(HKEY_CLASSES_ROOT, extension, nullptr);
    if (!fileClass)
        return static_cast<DWORD>(ERROR_NO_ASSOCIATION);
    auto command =
        readRegistryText(HKEY_CLASSES_ROOT, *fileClass + u"\\Shell\\Open\\Command", nullptr);
    if (!command)
        return static_cast<DWORD>(ERROR_NO_ASSOCIATION);
    std::u16string line;
    bool placed = false;
    for (size_t i = 0; i < command->size(); ++i) {
        if ((*command)[i] == u'%' && i + 1 < command->size() && (*command)[i + 1] == u'1') {
            line += document;
            placed = true;
            ++i;
        } else {
            line += (*command)[i];
        }
    }
    if (!placed)
        line = joined(line, document);
    auto [program, arguments] = splitCommandLine(line);
    if (program.empty())
        return static_cast<DWORD>(ERROR_NO_ASSOCIATION);
    return OpenCommand{std::move(program), std::move(arguments)};
}

std::variant<OpenCommand, DWORD> commandFor(std::u16string_view file,
                                            std::u16string_view parameters, int chain) {
    if (file.empty())
        return static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
    if (sameDeviceName(extensionOf(file), u".lnk")) {
        if (chain >= kMaxShortcutChain)
            return static_cast<DWORD>(ERROR_BAD_FORMAT);
        if (GetFileAttributesW(std::u16string(file).c_str()) == INVALID_FILE_ATTRIBUTES)
            return static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
        auto target = readShortcut(file);
        if (!target)
            return static_cast<DWORD>(ERROR_BAD_FORMAT);
        // A target that names an existing file as a whole is that file, blanks and all;
        // otherwise it is a program (quoted when it holds blanks) and its arguments.
        auto [path, arguments] = GetFileAttributesW(target->c_str()) != INVALID_FILE_ATTRIBUTES
                                     ? std::pair<std::u16string, std::u16string>(*target, u"")
                                     : splitCommandLine(*target);
        if (path.empty())
            return static_cast<DWORD>(ERROR_BAD_FORMAT);
        return commandFor(path, joined(arguments, parameters), chain + 1);
    }
    if (isProgramPath(file))
        return OpenCommand{std::u16string(file), std::u16string(parameters)};
    const DWORD attributes = GetFileAttributesW(std::u16string(file).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return static_cast<DWORD>(ERROR_NO_ASSOCIATION);
    return associatedCommand(file);
}

}  // namespace

bool isProgramPath(std::u16string_view path) {
    return sameDeviceName(extensionOf(path), u".exe") || findProgramListing(path).has_value();
}

std::variant<OpenCommand, DWORD> openCommandFor(std::u16string_view file,
                                                std::u16string_view parameters) {
    return commandFor(file, parameters, 0);
}

}  // namespace platform
