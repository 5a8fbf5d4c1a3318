// The help viewer's reading of a help file: its encodings, blocks and runs from HTML, white
// space, character references, anchors, lists and preformatted text, and markup that is
// broken, unknown or hostile.
#include <gmock/gmock.h>

#include <string>

#include "programs/help/HtmlReader.h"

namespace {

std::u16string textOf(const HelpBlock& block) {
    std::u16string text;
    for (const HelpRun& run : block.runs)
        text += run.text;
    return text;
}

std::vector<std::u16string> texts(const HelpDocument& d) {
    std::vector<std::u16string> all;
    for (const HelpBlock& b : d.blocks)
        all.push_back(textOf(b));
    return all;
}

HelpDocument read(std::u16string_view html) {
    return readHelpHtml(html);
}

using ::testing::ElementsAre;

template <size_t N>
std::string_view bytes(const char (&literal)[N]) {
    return std::string_view(literal, N - 1);
}

TEST(HelpFileText, EncodingsByByteOrderMarkElseUtf8AndNoControlCharacters) {
    EXPECT_EQ(decodeHelpText(bytes("\xFF\xFE"
                                   "a\0\x2F\x06")),
              u"a\u062F");
    EXPECT_EQ(decodeHelpText(bytes("\xFE\xFF"
                                   "\0a\x06\x2F")),
              u"a\u062F");
    EXPECT_EQ(decodeHelpText("\xEF\xBB\xBF"
                             "a\xD8\xAF"),
              u"a\u062F");
    // An odd byte at the end of UTF-16, ill-formed UTF-8, lone surrogates.
    EXPECT_EQ(decodeHelpText(bytes("\xFF\xFE"
                                   "a\0b")),
              u"a\uFFFD");
    EXPECT_EQ(decodeHelpText("a\xC3(b"), u"a\uFFFD(b");
    EXPECT_EQ(decodeHelpText(bytes("\xFF\xFE"
                                   "\x00\xD8"
                                   "a\0")),
              u"a");
    // Tabs and line breaks stay; NUL and other controls go.
    EXPECT_EQ(decodeHelpText(std::string("a\0b\x01\tc\r\n", 8)), u"ab\tc\r\n");
    // At most the file size the viewer reads.
    EXPECT_EQ(decodeHelpText(std::string(kMaxHelpFileBytes + 10, 'x')).size(), kMaxHelpFileBytes);
}

TEST(HelpHtml, BlocksRunsAndCollapsedWhiteSpace) {
    const HelpDocument d = read(
        u"<html><head><title> Kelvo \n help </title><style>p { color: red }</style></head>"
        u"<body><h2>First   topic</h2>\n<p>Tap a <b>key</b>\n to  type <i>it</i>.<br>Next "
        u"line</p><p>   </p><!-- a comment <p>not text</p> --><hr><p>Go <a href=\"#T2\">there"
        u"</a> now<script>var x = '<p>';</script></p></body></html>");
    EXPECT_EQ(d.title, u"Kelvo help");
    ASSERT_EQ(d.blocks.size(), 4u);
    EXPECT_EQ(d.blocks[0].kind, BlockKind::Heading);
    EXPECT_EQ(d.blocks[0].level, 2);
    EXPECT_EQ(textOf(d.blocks[0]), u"First topic");
    EXPECT_EQ(d.blocks[1].kind, BlockKind::Paragraph);
    EXPECT_EQ(textOf(d.blocks[1]), u"Tap a key to type it.\nNext line");
    ASSERT_EQ(d.blocks[1].runs.size(), 5u);
    EXPECT_EQ(d.blocks[1].runs[1].text, u"key");
    EXPECT_EQ(d.blocks[1].runs[1].style, kRunBold);
    EXPECT_EQ(d.blocks[1].runs[3].style, kRunItalic);
    EXPECT_EQ(d.blocks[2].kind, BlockKind::Rule);
    EXPECT_EQ(textOf(d.blocks[3]), u"Go there now");
    ASSERT_EQ(d.links.size(), 1u);
    EXPECT_EQ(d.links[0], u"#T2");
    EXPECT_EQ(d.blocks[3].runs[1].link, 0);
    EXPECT_EQ(d.blocks[3].runs[2].link, -1);
}

TEST(HelpHtml, CharacterReferencesNamedNumberedAndBroken) {
    const HelpDocument d = read(
        u"<p>&lt;&amp;&gt; &#x2699; &#1587;&#x631 &nbsp;&copy; &bogus; &amp &#xD800; &#0; "
        u"&#x110000; &#99999999999999999999; &#x1F600; a&#;b &</p>");
    ASSERT_EQ(d.blocks.size(), 1u);
    EXPECT_EQ(textOf(d.blocks[0]),
              u"<&> \u2699 \u0633\u0631 \u00A0\u00A9 &bogus; &amp \uFFFD \uFFFD \uFFFD \uFFFD "
              u"\U0001F600 a&#;b &");
    // References in attribute values too.
    const HelpDocument link = read(u"<a href='#A&amp;B'>x</a>");
    EXPECT_EQ(link.links.at(0), u"#A&B");
}

TEST(HelpHtml, AnchorsStandInTheirBlockOrBeforeTheNext) {
    const HelpDocument d = read(
        u"<h2><a name=\"Main_Contents\"></a>Contents</h2><p>text</p>"
        u"<a name=\"Loose\"></a><h2 id=Second>Second</h2>"
        u"<h2><a name=\"EmptyHeading\"></a></h2><p>After <a name=Inline>x</a></p>"
        u"<a name='AtEnd'>");
    ASSERT_EQ(d.blocks.size(), 4u);
    ASSERT_EQ(d.anchors.size(), 6u);
    EXPECT_EQ(d.anchors[0].name, u"Main_Contents");
    EXPECT_EQ(d.anchors[0].block, 0u);
    EXPECT_EQ(d.anchors[1].name, u"Loose");
    EXPECT_EQ(d.anchors[1].block, 2u);
    EXPECT_EQ(d.anchors[2].name, u"Second");
    EXPECT_EQ(d.anchors[2].block, 2u);
    // A heading with nothing in it is dropped: its anchor goes with the next block.
    EXPECT_EQ(d.anchors[3].name, u"EmptyHeading");
    EXPECT_EQ(d.anchors[3].block, 3u);
    EXPECT_EQ(d.anchors[4].block, 3u);
    EXPECT_EQ(d.anchors[5].block, 4u);
}

TEST(HelpHtml, ListsNestWithBulletsAndNumbersAndParagraphsInsideItems) {
    const HelpDocument d = read(
        u"<ul><li>one<ul><li>inner</li></ul></li><li><p>two</p></li></ul>"
        u"<ol><li>first<li>second</ol><p>after</p></li>");
    EXPECT_THAT(texts(d), ElementsAre(u"one", u"inner", u"two", u"first", u"second", u"after"));
    EXPECT_EQ(d.blocks[0].kind, BlockKind::ListItem);
    EXPECT_EQ(d.blocks[0].level, 1);
    EXPECT_EQ(d.blocks[0].marker, u"\u2022");
    EXPECT_EQ(d.blocks[1].level, 2);
    // The paragraph inside the item keeps the item's bullet.
    EXPECT_EQ(d.blocks[2].marker, u"\u2022");
    EXPECT_EQ(d.blocks[3].marker, u"1.");
    EXPECT_EQ(d.blocks[4].marker, u"2.");
    EXPECT_EQ(d.blocks[5].kind, BlockKind::Paragraph);
    EXPECT_EQ(d.blocks[5].level, 0);
}

TEST(HelpHtml, PreformattedTextKeepsSpacesAndLines) {
    const HelpDocument d = read(u"<pre>\n  indented\tcode\r\n\n  end </pre><p>  x  </p>");
    ASSERT_EQ(d.blocks.size(), 2u);
    EXPECT_EQ(d.blocks[0].kind, BlockKind::Preformatted);
    EXPECT_EQ(textOf(d.blocks[0]), u"  indented code\n\n  end ");
    EXPECT_EQ(d.blocks[0].runs[0].style, kRunCode);
    EXPECT_EQ(textOf(d.blocks[1]), u"x");
}

TEST(HelpHtml, BrokenAndHostileMarkupIsReadWithoutHarm) {
    // Unterminated tag, comment and attribute; stray '<' and '>'; unknown tags; an end tag
    // with nothing open; a tag name far too long.
    EXPECT_THAT(texts(read(u"<p>a < b > c</p></b></ul><blink>d</blink>")),
                ElementsAre(u"a < b > c", u"d"));
    EXPECT_TRUE(read(u"<p>text<!-- never closed").blocks.size() == 1u);
    EXPECT_TRUE(read(u"<a href=\"never closed>text").blocks.empty());
    EXPECT_THAT(texts(read(u"<p>x<" + std::u16string(5000, u'a') + u">y")), ElementsAre(u"xy"));
    EXPECT_THAT(texts(read(u"<p>x</p><script>never closed <p>y</p>")), ElementsAre(u"x"));

    // Ten thousand nested lists and bold tags: no recursion, levels stay bounded.
    std::u16string deep;
    for (int i = 0; i < 10000; ++i)
        deep += u"<ul><li><b>";
    deep += u"bottom";
    const HelpDocument d = read(deep);
    ASSERT_EQ(d.blocks.size(), 1u);
    EXPECT_EQ(d.blocks[0].level, static_cast<int>(kMaxListDepth));
    EXPECT_EQ(d.blocks[0].runs[0].style, kRunBold);

    // Attribute values are cut to their limit; a title to its.
    const HelpDocument big = read(u"<title>" + std::u16string(1000, u't') + u"</title><a href=\"" +
                                  std::u16string(5000, u'h') + u"\">x</a>");
    EXPECT_EQ(big.title.size(), kMaxTitleUnits);
    EXPECT_EQ(big.links.at(0).size(), kMaxAttributeUnits);
}

}  // namespace
