// Device path text helpers.
#include "kernel/DevicePath.h"

#include <wchar16.h>

namespace platform {

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

char16_t foldDeviceCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    // Latin-1 capitals; device file names are ASCII in practice.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 32);
    return c;
}

std::optional<std::vector<std::u16string>> splitDevicePath(std::u16string_view path) {
    std::vector<std::u16string> components;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && isSeparator(path[i]))
            ++i;
        size_t start = i;
        while (i < path.size() && !isSeparator(path[i]))
            ++i;
        if (i == start)
            break;
        std::u16string_view component = path.substr(start, i - start);
        if (component == u".")
            continue;
        if (component == u".." || component.find(u'\0') != std::u16string_view::npos) {
            return std::nullopt;
        }
        components.emplace_back(component);
    }
    return components;
}

std::u16string_view deviceFolderOf(std::u16string_view path) {
    size_t end = path.size();
    while (end > 0 && !isSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

std::u16string_view deviceFileNameOf(std::u16string_view path) {
    return path.substr(deviceFolderOf(path).size());
}

bool sameDeviceName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldDeviceCase(a[i]) != foldDeviceCase(b[i]))
            return false;
    }
    return true;
}

bool matchesWildcard(std::u16string_view pattern, std::u16string_view name) {
    // Iterative matching with one backtrack point for the last `*`: linear in practice and
    // never recursive, whatever the pattern.
    size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || foldDeviceCase(pattern[p]) == foldDeviceCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace platform
