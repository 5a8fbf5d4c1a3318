// UTF-8 at the platform's edges and the ANSI (Windows-1252) and UTF-8 code pages: exact
// round trips, U+FFFD for ill-formed input, and the buffer rules of the Windows calls.
#include <gtest/gtest.h>
#include <wchar16.h>
#include <winnls.h>

#include <string>

using platform::fromUtf8;
using platform::toUtf8;

TEST(TextConversion, Utf8RoundTripsEveryWellFormedText) {
    std::u16string text = u"Kelvo کلوو €\U0001F600 ΣЖ";
    std::string utf8 = toUtf8(text);
    EXPECT_EQ(utf8,
              "Kelvo \xDA\xA9\xD9\x84\xD9\x88\xD9\x88 \xE2\x82\xAC\xF0\x9F\x98\x80 "
              "\xCE\xA3\xD0\x96");
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(toUtf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::u16string{0xDC00, u'a'}),
              "\xEF\xBF\xBD"
              "a");
}

TEST(TextConversion, IllFormedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("\xC3"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE2\x82"
                       "A"),
              u"\uFFFDA");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xFF"
                       "b\x80"),
              u"\uFFFDb\uFFFD");
    EXPECT_EQ(fromUtf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(TextConversion, AnsiCodePageIsWindows1252) {
    WCHAR wide[8] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\xE9\x9F", 3, wide, 8), 3);
    EXPECT_EQ(std::u16string(wide, 3), u"€éŸ");
    char narrow[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"€éب", 3, narrow, 8, nullptr, &usedDefault), 3);
    EXPECT_EQ(std::string(narrow, 3), "\x80\xE9?");
    EXPECT_TRUE(usedDefault);
}

TEST(TextConversion, CodePageCallsMeasureAndRefuseSmallBuffers) {
    // Length -1 counts the terminator; an output size of 0 asks for the size.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD8\xA8x", -1, nullptr, 0), 3);
    WCHAR wide[4] = {u'#', u'#', u'#', u'#'};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD8\xA8x", -1, wide, 2), 0);
    EXPECT_EQ(wide[0], u'#');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xD8\xA8x", -1, wide, 3), 3);
    EXPECT_EQ(std::u16string(wide, 3), std::u16string(u"بx\0", 3));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3", 1, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, wide, 4), 0);

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ب", -1, nullptr, 0, nullptr, nullptr), 3);
    char narrow[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ب", -1, narrow, 2, nullptr, nullptr), 0);
    EXPECT_EQ(narrow[0], '#');
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ب", -1, narrow, 3, nullptr, nullptr), 3);
    EXPECT_EQ(std::string(narrow, 3), std::string("\xD8\xA8\0", 3));
}
