// Help topics: the viewer's command line and links, and the blocks a topic shows, in small
// files and in the default skin's help file.
#include <gtest/gtest.h>
#include <wchar16.h>

#include <fstream>
#include <sstream>

#include "programs/help/HelpAddress.h"
#include "programs/help/HelpSection.h"
#include "programs/help/HtmlReader.h"

namespace {

TEST(HelpCommandLine, FileSchemeTopicAndQuotes) {
    EXPECT_EQ(parseHelpCommandLine(u"file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC3"),
              (HelpAddress{u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm", u"BUTTON_TOPIC3"}));
    EXPECT_EQ(parseHelpCommandLine(u"  FILE:\\Help\\a.htm  "),
              (HelpAddress{u"\\Help\\a.htm", u""}));
    EXPECT_EQ(parseHelpCommandLine(u"\"file:\\My Help\\b.htm#T\""),
              (HelpAddress{u"\\My Help\\b.htm", u"T"}));
    EXPECT_EQ(parseHelpCommandLine(u"\\Help/sub/c.htm#A#B"),
              (HelpAddress{u"\\Help\\sub\\c.htm#A", u"B"}));
    // A skin without a help file gives "file:" and the topic alone.
    EXPECT_EQ(parseHelpCommandLine(u"file:#Main_Contents"), (HelpAddress{u"", u"Main_Contents"}));
    EXPECT_EQ(parseHelpCommandLine(u""), (HelpAddress{u"", u""}));
}

TEST(HelpLinks, SameFileOtherFileAndSchemesTheViewerDoesNotFollow) {
    const std::u16string here = u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm";
    EXPECT_EQ(resolveHelpLink(here, u"#BUTTON_TOPIC1"), (HelpAddress{here, u"BUTTON_TOPIC1"}));
    EXPECT_EQ(resolveHelpLink(here, u"other.htm#X"),
              (HelpAddress{u"\\Program Files\\Kelvo\\Skins\\other.htm", u"X"}));
    EXPECT_EQ(resolveHelpLink(here, u"sub/page.htm"),
              (HelpAddress{u"\\Program Files\\Kelvo\\Skins\\sub\\page.htm", u""}));
    EXPECT_EQ(resolveHelpLink(here, u"\\Windows\\help.htm#Y"),
              (HelpAddress{u"\\Windows\\help.htm", u"Y"}));
    EXPECT_EQ(resolveHelpLink(here, u"file:\\Windows\\x.htm"),
              (HelpAddress{u"\\Windows\\x.htm", u""}));
    EXPECT_FALSE(resolveHelpLink(here, u"http://example.com/help").has_value());
    EXPECT_FALSE(resolveHelpLink(here, u"mailto:someone@example.com").has_value());
    EXPECT_FALSE(resolveHelpLink(here, u"  ").has_value());
    // A colon after a path separator is part of the path, not a scheme.
    EXPECT_EQ(resolveHelpLink(here, u"#a:b"), (HelpAddress{here, u"a:b"}));
}

TEST(HelpTopics, TopicRunsToTheNextAnchorOrHeadingOfItsRank) {
    const HelpDocument d = readHelpHtml(
        u"<h1><a name=Top></a>Guide</h1><p>intro</p>"
        u"<h2 id=A>A</h2><p>a1</p><h3>A.1</h3><p>a2</p>"
        u"<h2>B</h2><p>b1 <a name=Inside>here</a></p><p>b2</p><h1>End</h1>");
    // A heading topic ends at the next heading of its rank or above, or at the next anchor.
    EXPECT_EQ(findSection(d, u"A"), (SectionRange{2, 6}));
    EXPECT_EQ(findSection(d, u"Top"), (SectionRange{0, 2}));
    // A topic that starts in a paragraph ends only at the next anchor (here: the file's end).
    EXPECT_EQ(findSection(d, u"Inside"), (SectionRange{7, 10}));
    // Case is forgiven when nothing matches exactly; an unknown topic has no section.
    EXPECT_EQ(findSection(d, u"inside"), (SectionRange{7, 10}));
    EXPECT_FALSE(findSection(d, u"Missing").has_value());
    EXPECT_EQ(findSection(d, u""), (SectionRange{0, d.blocks.size()}));
    EXPECT_EQ(sectionText(d, SectionRange{2, 4}), u"A\r\na1\r\n");

    // An anchor after the last block names an empty section.
    const HelpDocument tail = readHelpHtml(u"<p>x</p><a name=End></a>");
    EXPECT_EQ(findSection(tail, u"End"), (SectionRange{1, 1}));
}

std::string fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(HelpTopics, DefaultSkinHelpHasContentsAndEveryButtonTopic) {
    const HelpDocument d = readHelpHtml(decodeHelpText(fileBytes(DEFAULT_HELP_FILE)));
    EXPECT_EQ(d.title, u"Kelvo keyboard");
    const auto contents = findSection(d, u"Main_Contents");
    ASSERT_TRUE(contents.has_value());
    const std::u16string contentsText = sectionText(d, *contents);
    EXPECT_EQ(contentsText.rfind(u"Kelvo keyboard\r\n", 0), 0u);
    EXPECT_NE(contentsText.find(u"\u2022 Farsi letters (the first face)"), std::u16string::npos);
    EXPECT_EQ(contentsText.find(u"The letters are where"), std::u16string::npos);
    const char16_t* headings[] = {u"Farsi letters", u"Latin letters", u"Digits and symbols",
                                  u"Calculator",    u"Task switcher", u"Programs and games",
                                  u"Macros"};
    for (int n = 1; n <= 7; ++n) {
        const std::u16string topic =
            u"BUTTON_TOPIC" + std::u16string(1, static_cast<char16_t>(u'0' + n));
        const auto range = findSection(d, topic);
        ASSERT_TRUE(range.has_value()) << n;
        ASSERT_LT(range->first, range->end);
        EXPECT_EQ(d.blocks[range->first].kind, BlockKind::Heading);
        EXPECT_EQ(sectionText(d, {range->first, range->first + 1}),
                  std::u16string(headings[n - 1]) + u"\r\n");
        // Each topic stops before the next one's heading.
        for (size_t b = range->first + 1; b < range->end; ++b)
            EXPECT_NE(d.blocks[b].kind, BlockKind::Heading);
    }
    // The links of the contents lead to the topics.
    for (const std::u16string& link : d.links) {
        const auto target = resolveHelpLink(u"\\x\\Kelvo.htm", link);
        ASSERT_TRUE(target.has_value());
        EXPECT_TRUE(findSection(d, target->topic).has_value()) << platform::toUtf8(link);
    }
}

}  // namespace
