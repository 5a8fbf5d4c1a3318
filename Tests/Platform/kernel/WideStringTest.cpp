// The UTF-16 string calls: comparison signs, copying limits, searching, and case-insensitive
// comparison across scripts.
#include <gtest/gtest.h>
#include <wchar16.h>

#include <string>

TEST(WideString, LengthCompareAndCopy) {
    EXPECT_EQ(wcslen(u"سلام"), 4u);
    EXPECT_EQ(wcslen(static_cast<const WCHAR*>(nullptr)), 0u);
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_LT(wcscmp(u"abc", u"abd"), 0);
    EXPECT_GT(wcscmp(u"abc", u"ab"), 0);
    EXPECT_EQ(wcscmp(u"ب", u"ب"), 0);
    // Units compare unsigned: a Farsi letter sorts after every Latin one.
    EXPECT_GT(wcscmp(u"ا", u"z"), 0);
    EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
    EXPECT_NE(wcsncmp(u"abcX", u"abcY", 4), 0);
    EXPECT_EQ(lstrcmpW(u"DocList", u"DocList"), 0);
    EXPECT_EQ(lstrcmpW(u"DocList", u"doclist"), -1);
    EXPECT_EQ(lstrcmpW(u"b", u"a"), 1);
    EXPECT_EQ(lstrcmpW(nullptr, u""), 0);

    WCHAR buffer[10];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wcscpy(buffer, u"ab"), buffer);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"ab\0#", 4));
    wcscat(buffer, u"cd");
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    lstrcpyW(buffer, u"x");
    EXPECT_EQ(std::u16string(buffer), u"x");
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    wcsncpy(buffer, u"ab", 5);
    EXPECT_EQ(std::u16string(buffer, 6), std::u16string(u"ab\0\0\0#", 6));
    wcsncpy(buffer, u"abcdef", 3);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"abc\0", 4));
}

TEST(WideString, Searching) {
    const char16_t* text = u"a\\b\\c";
    EXPECT_EQ(wcschr(text, u'\\'), text + 1);
    EXPECT_EQ(wcsrchr(text, u'\\'), text + 3);
    EXPECT_EQ(wcschr(text, u'z'), nullptr);
    EXPECT_EQ(wcschr(text, u'\0'), text + 5);
    EXPECT_EQ(wcsstr(text, u"b\\c"), text + 2);
    EXPECT_EQ(wcsstr(text, u""), text);
    EXPECT_EQ(wcsstr(text, u"cd"), nullptr);
    WCHAR mutableText[] = u"xyz";
    WCHAR* found = wcschr(mutableText, u'y');
    *found = u'Y';
    EXPECT_EQ(std::u16string(mutableText), u"xYz");
}

TEST(WideString, CaseInsensitiveComparisonFoldsLatinGreekAndCyrillic) {
    EXPECT_EQ(_wcsicmp(u"Programs", u"PROGRAMS"), 0);
    EXPECT_EQ(_wcsicmp(u"ÄÖÜ", u"äöü"), 0);
    EXPECT_EQ(_wcsicmp(u"ΣΟΦΙΑ", u"σοφια"), 0);
    EXPECT_EQ(_wcsicmp(u"МОСКВА", u"москва"), 0);
    EXPECT_LT(_wcsicmp(u"apple", u"BANANA"), 0);
    EXPECT_EQ(_wcsnicmp(u"GamesX", u"gamesY", 5), 0);
    EXPECT_NE(_wcsnicmp(u"GamesX", u"gamesY", 6), 0);
    EXPECT_EQ(lstrcmpiW(u"\\Windows\\Start Menu\\Programs", u"\\windows\\start menu\\PROGRAMS"), 0);
    EXPECT_EQ(lstrcmpiW(u"بازی‌ها", u"بازی‌ها"), 0);
    EXPECT_NE(lstrcmpiW(u"بازی", u"بازي"), 0);
    EXPECT_EQ(lstrcmpiW(u"a", u"B"), -1);
    EXPECT_EQ(lstrcmpiW(u"B", u"a"), 1);
    EXPECT_EQ(lstrcmpiW(u"abc", u"ab"), 1);
}
