// The Contacts program's list and its file "\My Documents\Contacts.txt": UTF-8 text, one contact
// per line as name, phone and e-mail separated by tabs (phone and e-mail may be empty); a line
// whose first character other than blanks is '#' is a comment. The file comes from anywhere, so the reader takes at most a
// fixed number of bytes, contacts and characters per field, and leaves out (and counts) every
// line it cannot use whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct Contact {
    std::u16string name;
    std::u16string phone;
    std::u16string email;
};

inline constexpr size_t kMaxContactsFileBytes = 256 * 1024;
inline constexpr size_t kMaxContacts = 2000;
inline constexpr size_t kMaxContactFieldUnits = 128;

struct ContactList {
    std::vector<Contact> contacts;  // by name, case ignored
    size_t damagedLines = 0;        // lines left out: not UTF-8, control characters, no name,
                                    // more than three fields or a field too long
    bool truncated = false;         // the file held more than the reader takes
};

// Reads a file's bytes (at most kMaxContactsFileBytes of them are looked at).
ContactList parseContacts(std::string_view bytes);

enum class ContactsFileState { Read, Missing, Unreadable };
struct ContactsFile {
    ContactsFileState state = ContactsFileState::Missing;
    ContactList list;
};
ContactsFile readContactsFile(std::u16string_view devicePath);

// The file's text for a list of contacts (tabs and line breaks in fields become spaces).
std::string contactsFileText(const std::vector<Contact>& contacts);
// The contacts a new device starts with.
std::vector<Contact> sampleContacts();
