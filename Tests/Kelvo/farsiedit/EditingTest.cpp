// Setting and editing a paragraph's text: where it stops, room management on insertion,
// deletion, refused positions, and the length limit the 16-bit maps need.
#include <gtest/gtest.h>

#include <string>

#include "BidiTestSupport.h"

using biditest::glyphsOf;

namespace {

std::u16string textOf(const CBidiPara& para) {
    return std::u16string(para.text.get(), para.length);
}

}  // namespace

TEST(BidiEditing, SetTextStopsAtTheParagraphEnd) {
    CBidiPara para;
    EXPECT_EQ(para.paraIndex, -1);
    EXPECT_EQ(para.firstLine, -1);
    EXPECT_EQ(para.lineCount, 0);
    for (const char16_t* text : {u"abc\ndef", u"abc\rdef", u"abc\u2029def", u"abc"}) {
        EXPECT_EQ(para.SetText(text), 3);
        EXPECT_EQ(textOf(para), u"abc");
        EXPECT_EQ(para.capacity, 23);
        EXPECT_EQ(para.text[3], 0);
    }
    EXPECT_EQ(para.SetText(nullptr), 0);
    EXPECT_EQ(para.capacity, 20);
}

TEST(BidiEditing, InsertionWorksInPlaceWhileThereIsRoom) {
    CBidiPara para;
    para.SetText(u"abc");
    ASSERT_TRUE(para.InsertAt(1, u"xy", 2));
    EXPECT_EQ(textOf(para), u"axybc");
    EXPECT_EQ(para.capacity, 23);
    ASSERT_TRUE(para.InsertAfter(4, u"!", 1));
    EXPECT_EQ(textOf(para), u"axybc!");
    ASSERT_TRUE(para.InsertAt(0, u"0123456789", 10));  // room 17: in place
    EXPECT_EQ(para.capacity, 23);
    EXPECT_EQ(para.length, 16);
    // Room 7 is below 10: the arrays grow to length + count + 20.
    ASSERT_TRUE(para.InsertAt(16, u"z", 1));
    EXPECT_EQ(para.capacity, 37);
    EXPECT_EQ(textOf(para), u"0123456789axybc!z");
    EXPECT_EQ(para.text[17], 0);
    // A count larger than the room also grows them.
    const std::u16string many(40, u'm');
    ASSERT_TRUE(para.InsertAt(0, many.c_str(), 40));
    EXPECT_EQ(para.capacity, 17 + 40 + 20);
    para.Layout();
    para.Wrap(nullptr, 0);
    EXPECT_EQ(glyphsOf(para), many + u"0123456789axybc!z");
}

TEST(BidiEditing, DeleteRemovesAndZeroFillsTheTail) {
    CBidiPara para;
    para.SetText(u"abcdef");
    ASSERT_TRUE(para.Delete(1, 2));
    EXPECT_EQ(textOf(para), u"adef");
    EXPECT_EQ(para.text[4], 0);
    EXPECT_EQ(para.text[5], 0);
    ASSERT_TRUE(para.Delete(2, 100));  // clipped to the end
    EXPECT_EQ(textOf(para), u"ad");
    EXPECT_EQ(para.text[2], 0);
}

TEST(BidiEditing, InvalidPositionsAreRefusedAndChangeNothing) {
    CBidiPara para;
    para.SetText(u"abc");
    EXPECT_FALSE(para.InsertAt(-1, u"x", 1));
    EXPECT_FALSE(para.InsertAt(4, u"x", 1));
    EXPECT_FALSE(para.InsertAt(0, u"x", -1));
    EXPECT_FALSE(para.InsertAt(0, nullptr, 1));
    EXPECT_FALSE(para.InsertAfter(3, u"x", 1));
    EXPECT_FALSE(para.InsertAfter(-1, u"x", 1));
    EXPECT_FALSE(para.Delete(3, 1));
    EXPECT_FALSE(para.Delete(-1, 1));
    EXPECT_FALSE(para.Delete(0, 0));
    EXPECT_TRUE(para.InsertAt(3, u"x", 0));
    EXPECT_EQ(textOf(para), u"abc");
    EXPECT_EQ(para.capacity, 23);
}

TEST(BidiEditing, ParagraphLengthStopsBelowTheMapSentinel) {
    // A longer text keeps only what fits.
    std::u16string huge;
    for (int i = 0; i < 70000; ++i) {
        huge += (i % 7 == 3) ? u' ' : (i % 3 == 0 ? u'\u0628' : u'a');
    }
    CBidiPara para;
    EXPECT_EQ(para.SetText(huge.c_str()), CBidiPara::MAX_LENGTH);
    EXPECT_EQ(para.length, 0xFFFE);
    // Nothing more goes in, and the refusal leaves the text as it was.
    EXPECT_FALSE(para.InsertAt(0, u"x", 1));
    EXPECT_EQ(para.length, CBidiPara::MAX_LENGTH);
    EXPECT_EQ(para.text[0], huge[0]);
    para.Layout();
    para.Wrap(nullptr, 0);
    EXPECT_EQ(para.glyphCount, CBidiPara::MAX_LENGTH);
    for (int g = 0; g < para.glyphCount; ++g) {
        ASSERT_NE(para.visToLog[g], CBidiPara::NO_GLYPH) << g;
        ASSERT_EQ(para.logToVis[para.visToLog[g]], g) << g;
    }
    EXPECT_EQ(para.lineLengths[0], CBidiPara::MAX_LENGTH);

    // Right at the limit an insertion that fits is accepted, one more is refused.
    ASSERT_TRUE(para.Delete(0, 2));
    EXPECT_FALSE(para.InsertAt(0, u"xyz", 3));
    EXPECT_TRUE(para.InsertAt(0, u"xy", 2));
    EXPECT_EQ(para.length, CBidiPara::MAX_LENGTH);
}
