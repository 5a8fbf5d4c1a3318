// The code page of item names: every byte stands for one character and comes back from it.
#include <skin/AnsiCodePage.h>

#include <gtest/gtest.h>

TEST(AnsiCodePage, EveryByteRoundTripsThroughItsCharacter) {
    for (int byte = 0; byte < 256; ++byte) {
        std::string bytes(1, static_cast<char>(byte));
        std::u16string text = textFromAnsi(bytes);
        ASSERT_EQ(text.size(), 1u);
        EXPECT_EQ(ansiFromText(text), bytes) << byte;
        EXPECT_TRUE(ansiEquals(bytes, text)) << byte;
    }
    EXPECT_EQ(textFromAnsi("\x80\x9F\xE9"), u"\u20AC\u0178\u00E9");
}

TEST(AnsiCodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ansiFromText(u"a\u0634\U0001F600b\xD800"), "a??b?");
    EXPECT_FALSE(ansiEquals("?", u"\u0634"));
    EXPECT_FALSE(ansiEquals("ab", u"abc"));
}
