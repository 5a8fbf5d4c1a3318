// Fuzz target for the contacts file: any bytes read as the Contacts program reads its file.
// Checks the reader's limits (contacts, field lengths, no control characters, a name on every
// contact), the order by name, and that the contacts written back read back the same with no
// damaged line. Aborts when one breaks.
#include <wchar16.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "programs/contacts/ContactList.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool clean(const std::u16string& field) {
    if (field.size() > kMaxContactFieldUnits)
        return false;
    for (char16_t c : field) {
        if (c < 0x20 || c == 0x7F || c == 0xFFFD)
            return false;
    }
    return field.empty() || (field.front() != u' ' && field.back() != u' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ContactList list =
        parseContacts(std::string_view(reinterpret_cast<const char*>(data), size));
    require(list.contacts.size() <= kMaxContacts);
    for (size_t i = 0; i < list.contacts.size(); ++i) {
        const Contact& c = list.contacts[i];
        require(!c.name.empty() && clean(c.name) && clean(c.phone) && clean(c.email));
        if (i > 0)
            require(lstrcmpiW(list.contacts[i - 1].name.c_str(), c.name.c_str()) <= 0);
    }
    if (list.contacts.size() < kMaxContacts) {
        const ContactList again = parseContacts(contactsFileText(list.contacts));
        require(again.damagedLines == 0 && !again.truncated);
        require(again.contacts.size() == list.contacts.size());
        for (size_t i = 0; i < list.contacts.size(); ++i) {
            require(again.contacts[i].name == list.contacts[i].name);
            require(again.contacts[i].phone == list.contacts[i].phone);
            require(again.contacts[i].email == list.contacts[i].email);
        }
    }
    return 0;
}
