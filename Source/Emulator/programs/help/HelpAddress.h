// Where the help viewer looks: a help file's device path and a topic in it. The viewer's command
// line is "file:PATH#TOPIC" (the "file:" and the topic may be left out), and a link in a help
// file names a topic of the same file ("#TOPIC") or another file beside it ("other.htm#TOPIC").
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct HelpAddress {
    std::u16string path;   // a device path; empty when the command line names no file
    std::u16string topic;  // an anchor name; empty for the file's beginning
    bool operator==(const HelpAddress&) const = default;
};

HelpAddress parseHelpCommandLine(std::u16string_view commandLine);

// The address a link of the file at `currentPath` leads to; nothing for a link the viewer does
// not follow (another scheme such as "http:", or an empty link).
std::optional<HelpAddress> resolveHelpLink(std::u16string_view currentPath,
                                           std::u16string_view href);
