// Reading and writing the contacts file.
#include "programs/contacts/ContactList.h"

#include <wchar16.h>

#include <algorithm>
#include <optional>

#include "programs/common/DeviceFile.h"

namespace {

constexpr size_t kFieldCount = 3;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// A field's text, or nothing when the field cannot be used: ill-formed UTF-8, a control
// character, or more units than a field may have.
std::optional<std::u16string> fieldText(std::string_view bytes) {
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return std::nullopt;
    }
    std::u16string text = platform::fromUtf8(trimmed(bytes));
    if (text.size() > kMaxContactFieldUnits || text.find(u'\uFFFD') != std::u16string::npos)
        return std::nullopt;
    return text;
}

// One line of the file: a contact, or nothing for a damaged line.
std::optional<Contact> contactOf(std::string_view line) {
    std::u16string fields[kFieldCount];
    size_t count = 0;
    while (true) {
        const size_t tab = line.find('\t');
        if (count == kFieldCount)
            return std::nullopt;
        auto text = fieldText(line.substr(0, tab));
        if (!text)
            return std::nullopt;
        fields[count++] = std::move(*text);
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    if (fields[0].empty())
        return std::nullopt;
    return Contact{std::move(fields[0]), std::move(fields[1]), std::move(fields[2])};
}

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string fieldBytes(std::u16string_view text) {
    std::string bytes = platform::toUtf8(text);
    std::replace_if(
        bytes.begin(), bytes.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    return bytes;
}

}  // namespace

ContactList parseContacts(std::string_view bytes) {
    ContactList list;
    if (bytes.size() > kMaxContactsFileBytes) {
        bytes = bytes.substr(0, kMaxContactsFileBytes);
        list.truncated = true;
        // The last line was cut: it is left out rather than shown short.
        const size_t lastBreak = bytes.rfind('\n');
        bytes =
            lastBreak == std::string_view::npos ? std::string_view() : bytes.substr(0, lastBreak);
    }
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (blank(line) || line[line.find_first_not_of(" \t")] == '#')
            continue;
        if (list.contacts.size() == kMaxContacts) {
            list.truncated = true;
            break;
        }
        if (auto contact = contactOf(line))
            list.contacts.push_back(std::move(*contact));
        else
            ++list.damagedLines;
    }
    std::stable_sort(list.contacts.begin(), list.contacts.end(),
                     [](const Contact& a, const Contact& b) {
                         return lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0;
                     });
    return list;
}

ContactsFile readContactsFile(std::u16string_view devicePath) {
    ContactsFile file;
    // One byte past the limit, so that parseContacts sees a longer file and drops its cut line.
    DeviceFileBytes read = readDeviceFile(devicePath, kMaxContactsFileBytes + 1);
    switch (read.state) {
        case FileRead::Missing:
            file.state = ContactsFileState::Missing;
            return file;
        case FileRead::Unreadable:
            file.state = ContactsFileState::Unreadable;
            return file;
        case FileRead::Read:
            break;
    }
    file.state = ContactsFileState::Read;
    file.list = parseContacts(read.bytes);
    return file;
}

std::string contactsFileText(const std::vector<Contact>& contacts) {
    std::string text = "# Name\tPhone\tE-mail\n";
    for (const Contact& c : contacts)
        text += fieldBytes(c.name) + "\t" + fieldBytes(c.phone) + "\t" + fieldBytes(c.email) + "\n";
    return text;
}

std::vector<Contact> sampleContacts() {
    return {
        {u"Ali Karimi", u"+98 21 5555 0142", u"ali.karimi@example.com"},
        {u"Anna Schmidt", u"+49 30 5555 0177", u"anna.schmidt@example.de"},
        {u"Babak Moradi", u"+98 912 555 0108", u"babak@example.ir"},
        {u"Daniel Brooks", u"+1 206 555 0119", u"dan.brooks@example.org"},
        {u"Elham Sadeghi", u"+98 21 5555 0187", u"elham.sadeghi@example.com"},
        {u"Farhad Jafari", u"+98 935 555 0131", u""},
        {u"Laleh Amini", u"+98 21 5555 0155", u"laleh@example.ir"},
        {u"Maryam Hosseini", u"+98 912 555 0163", u"maryam.h@example.com"},
        {u"Nima Rostami", u"+98 31 5555 0124", u"nima.rostami@example.com"},
        {u"Omid Nazari", u"", u"omid@example.org"},
        {u"Parisa Ghorbani", u"+98 21 5555 0176", u"parisa@example.ir"},
        {u"Reza Ahmadi", u"+98 21 5555 0111", u"reza.ahmadi@example.com"},
        {u"Sophie Martin", u"+33 1 55 55 01 93", u"sophie.martin@example.fr"},
        {u"Tirvan Support", u"+98 21 5555 0100", u"support@tirvan.example"},
        {u"\u0645\u0631\u06CC\u0645 \u0631\u0636\u0627\u06CC\u06CC", u"+98 21 5555 0149",
         u"m.rezaei@example.ir"},
        {u"\u06A9\u0627\u0645\u0631\u0627\u0646 \u0646\u0648\u0631\u06CC", u"+98 913 555 0170",
         u""},
    };
}
