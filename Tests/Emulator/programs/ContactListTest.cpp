// The contacts file: contacts by name with their phone and e-mail, comments and blank lines
// passed over, damaged lines left out and counted, and the limits on a file from anywhere.
#include <gmock/gmock.h>

#include <string>

#include "DeviceTest.h"
#include "programs/contacts/ContactList.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Field;

std::u16string nameOf(const Contact& c) {
    return c.name;
}

TEST(ContactsFileReading, ContactsComeByNameWithTheirFieldsPastCommentsAndBlankLines) {
    const ContactList list = parseContacts(
        "\xEF\xBB\xBF# Name\tPhone\tE-mail\r\n"
        "zoe Lang\t+1 555 0101\tzoe@example.com\r\n"
        "\r\n"
        "   \t \n"
        "  # an indented comment\t1\n"
        "Ali Karimi\t+98 21 5555 0142\n"
        "  Bita  \t\t bita@example.ir  \n"
        "\xD9\x85\xD8\xB1\xDB\x8C\xD9\x85\t0912\n"
        "Anna");
    ASSERT_EQ(list.contacts.size(), 5u);
    EXPECT_EQ(list.damagedLines, 0u);
    EXPECT_FALSE(list.truncated);
    // Case is ignored in the order; Farsi names follow the Latin ones.
    std::vector<std::u16string> names;
    for (const Contact& c : list.contacts)
        names.push_back(nameOf(c));
    EXPECT_THAT(names, ElementsAre(u"Ali Karimi", u"Anna", u"Bita", u"zoe Lang",
                                   u"\u0645\u0631\u06CC\u0645"));
    EXPECT_EQ(list.contacts[0].phone, u"+98 21 5555 0142");
    EXPECT_EQ(list.contacts[0].email, u"");
    // Spaces around a field are not part of it; an empty phone stays empty.
    EXPECT_EQ(list.contacts[2].phone, u"");
    EXPECT_EQ(list.contacts[2].email, u"bita@example.ir");
    EXPECT_EQ(list.contacts[3].email, u"zoe@example.com");
}

TEST(ContactsFileReading, DamagedLinesAreLeftOutAndCountedTheRestIsKept) {
    const std::string longName(kMaxContactFieldUnits + 1, 'x');
    const ContactList list = parseContacts(
        "Good One\t1\n"
        "\xC3\x28 bad UTF-8\t2\n"    // ill-formed UTF-8
        "Bell\x07\t3\n"              // a control character
        "\t4\tno@name.example\n"     // no name
        "   \t5\n"                   // a name of spaces only
        "Too\tMany\tFields\there\n"  // four fields
        "Carriage\rReturn\t6\n" +    // a lone CR inside the line
        longName +
        "\t7\n"  // a field too long
        + std::string(kMaxContactFieldUnits, 'y') +
        "\t8\n"  // exactly as long as allowed
        "Good Two\t9\n");
    EXPECT_EQ(list.damagedLines, 7u);
    ASSERT_EQ(list.contacts.size(), 3u);
    EXPECT_EQ(list.contacts[0].name, u"Good One");
    EXPECT_EQ(list.contacts[1].name, u"Good Two");
    EXPECT_EQ(list.contacts[2].name.size(), kMaxContactFieldUnits);
}

TEST(ContactsFileReading, TooManyContactsOrBytesKeepTheBeginningAndSaySo) {
    std::string many;
    for (size_t i = 0; i < kMaxContacts + 5; ++i)
        many += "Person " + std::to_string(i) + "\t" + std::to_string(i) + "\n";
    ContactList list = parseContacts(many);
    EXPECT_EQ(list.contacts.size(), kMaxContacts);
    EXPECT_TRUE(list.truncated);

    // A file longer than the reader takes: the line cut by the limit is not shown half.
    std::string big;
    while (big.size() < kMaxContactsFileBytes - 40)
        big += "#" + std::string(99, 'c') + "\n";
    big.resize(kMaxContactsFileBytes - 40);
    big += "\nLast Whole\t1\nA Name The Limit Cuts In Two\t+98 21 5555 0100\n";
    list = parseContacts(big);
    EXPECT_TRUE(list.truncated);
    EXPECT_EQ(list.damagedLines, 0u);
    ASSERT_EQ(list.contacts.size(), 1u);
    EXPECT_EQ(list.contacts[0].name, u"Last Whole");
}

TEST(ContactsFileReading, WrittenTextReadsBackAndSeparatorsInFieldsBecomeSpaces) {
    const std::vector<Contact> written = {
        {u"Tab\tIn Name", u"+1\n555", u"a@b.example"},
        {u"\u0631\u0636\u0627", u"", u""},
    };
    const ContactList read = parseContacts(contactsFileText(written));
    EXPECT_EQ(read.damagedLines, 0u);
    ASSERT_EQ(read.contacts.size(), 2u);
    EXPECT_EQ(read.contacts[0].name, u"Tab In Name");
    EXPECT_EQ(read.contacts[0].phone, u"+1 555");
    EXPECT_EQ(read.contacts[1].name, u"\u0631\u0636\u0627");

    // The sample contacts survive the same trip whole.
    const ContactList samples = parseContacts(contactsFileText(sampleContacts()));
    EXPECT_EQ(samples.contacts.size(), sampleContacts().size());
    EXPECT_EQ(samples.damagedLines, 0u);
}

using ContactsFileOnDevice = DeviceTest;

TEST_F(ContactsFileOnDevice, MissingUnreadableAndLongFiles) {
    EXPECT_EQ(readContactsFile(u"\\My Documents\\Contacts.txt").state, ContactsFileState::Missing);
    writeDeviceFile(u"\\My Documents\\Folder\\x", "");
    EXPECT_NE(readContactsFile(u"\\My Documents\\Folder").state, ContactsFileState::Read);

    writeDeviceFile(u"\\My Documents\\Contacts.txt", "Only One\t1\n");
    ContactsFile file = readContactsFile(u"\\My Documents\\Contacts.txt");
    EXPECT_EQ(file.state, ContactsFileState::Read);
    ASSERT_EQ(file.list.contacts.size(), 1u);
    EXPECT_FALSE(file.list.truncated);

    std::string big = "First\t1\n" + std::string(kMaxContactsFileBytes, '#');
    writeDeviceFile(u"\\My Documents\\Contacts.txt", big);
    file = readContactsFile(u"\\My Documents\\Contacts.txt");
    EXPECT_EQ(file.state, ContactsFileState::Read);
    EXPECT_TRUE(file.list.truncated);
    ASSERT_EQ(file.list.contacts.size(), 1u);
}

}  // namespace
