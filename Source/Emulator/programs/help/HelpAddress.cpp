// Help command lines and links.
#include "programs/help/HelpAddress.h"

#include <wchar16.h>

#include <algorithm>

namespace {

constexpr std::u16string_view kFileScheme = u"file:";

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    return text;
}

bool startsWithFileScheme(std::u16string_view text) {
    if (text.size() < kFileScheme.size())
        return false;
    for (size_t i = 0; i < kFileScheme.size(); ++i) {
        if (towlower(text[i]) != kFileScheme[i])
            return false;
    }
    return true;
}

HelpAddress split(std::u16string_view text) {
    HelpAddress address;
    const size_t hash = text.rfind(u'#');
    address.path = std::u16string(text.substr(0, hash));
    if (hash != std::u16string_view::npos)
        address.topic = std::u16string(text.substr(hash + 1));
    std::replace(address.path.begin(), address.path.end(), u'/', u'\\');
    return address;
}

}  // namespace

HelpAddress parseHelpCommandLine(std::u16string_view commandLine) {
    std::u16string_view text = trimmed(commandLine);
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        text = text.substr(1, text.size() - 2);
    if (startsWithFileScheme(text))
        text.remove_prefix(kFileScheme.size());
    return split(text);
}

std::optional<HelpAddress> resolveHelpLink(std::u16string_view currentPath,
                                           std::u16string_view href) {
    href = trimmed(href);
    if (href.empty())
        return std::nullopt;
    if (startsWithFileScheme(href))
        return split(href.substr(kFileScheme.size()));
    // A scheme is a name and a colon before any path separator ("http:", "mailto:").
    const size_t colon = href.find(u':');
    if (colon != std::u16string_view::npos &&
        href.substr(0, colon).find_first_of(u"\\/#") == std::u16string_view::npos)
        return std::nullopt;
    HelpAddress address = split(href);
    if (address.path.empty()) {
        address.path = std::u16string(currentPath);
    } else if (address.path.front() != u'\\') {
        const size_t folderEnd = currentPath.rfind(u'\\');
        const std::u16string folder(folderEnd == std::u16string_view::npos
                                        ? std::u16string_view()
                                        : currentPath.substr(0, folderEnd));
        address.path = folder + u"\\" + address.path;
    }
    return address;
}
