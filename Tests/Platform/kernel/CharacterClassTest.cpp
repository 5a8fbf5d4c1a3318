// Character classes and case mapping of UTF-16 code units: the letters of the scripts the
// keyboard types, and consistency of the tables over the whole code unit range.
#include <gtest/gtest.h>
#include <wchar16.h>

TEST(CharacterClass, AlphabeticMaskHoldsForLettersOfEveryScript) {
    for (WCHAR c :
         u"azAZ"
         u"ÄéßñŒŸ"
         u"ΑΩαωΣς"
         u"АЯаяЁё"
         u"پچژگکی"
         u"ابتثجحخدذرزسشصضطظعغفقلمنهوي"
         u"אבגת"
         u"ԱՖաֆ"
         u"中文かナ한") {
        if (c == 0)
            continue;
        EXPECT_TRUE(iswctype(c, 0x103)) << std::hex << static_cast<int>(c);
        EXPECT_TRUE(iswalpha(c)) << std::hex << static_cast<int>(c);
    }
    auto everyCode = [](WCHAR first, WCHAR last) {
        for (int c = first; c <= last; ++c) {
            EXPECT_TRUE(iswctype(static_cast<WCHAR>(c), _ALPHA)) << std::hex << c;
        }
    };
    everyCode(0x0621, 0x064A);
    everyCode(0x066E, 0x06D3);
    everyCode(0x06FA, 0x06FF);
}

TEST(CharacterClass, AlphabeticMaskFailsForDigitsPunctuationAndSpaces) {
    for (WCHAR c :
         u"0189"
         u"۰۱۲۹"
         u"٠٩"
         u".,;:!?-+*/=()[]{}%"
         u"،؛؟٪"
         u" \t\r\n"
         u"\u00A0\u3000") {
        if (c == 0)
            continue;
        EXPECT_FALSE(iswctype(c, 0x103)) << std::hex << static_cast<int>(c);
    }
    EXPECT_FALSE(iswctype(0, _ALPHA));
    EXPECT_FALSE(iswctype(0x200C, _ALPHA));  // zero-width non-joiner
}

TEST(CharacterClass, SingleClassesOfCommonCharacters) {
    EXPECT_TRUE(iswdigit(u'7'));
    EXPECT_TRUE(iswdigit(u'۷'));
    EXPECT_FALSE(iswdigit(u'x'));
    EXPECT_TRUE(iswctype(u'f', _HEX));
    EXPECT_TRUE(iswctype(u'9', _HEX));
    EXPECT_FALSE(iswctype(u'g', _HEX));
    EXPECT_TRUE(iswspace(u' '));
    EXPECT_TRUE(iswspace(u'\t'));
    EXPECT_TRUE(iswspace(u'\n'));
    EXPECT_TRUE(iswspace(0x00A0));
    EXPECT_TRUE(iswspace(0x3000));
    EXPECT_FALSE(iswspace(u'a'));
    EXPECT_TRUE(iswctype(u'\t', _BLANK));
    EXPECT_FALSE(iswctype(u'\n', _BLANK));
    EXPECT_TRUE(iswctype(0x01, _CONTROL));
    EXPECT_TRUE(iswctype(0x7F, _CONTROL));
    EXPECT_TRUE(iswctype(u'!', _PUNCT));
    EXPECT_TRUE(iswctype(u'؟', _PUNCT));
    EXPECT_TRUE(iswctype(u'€', _PUNCT));
    EXPECT_TRUE(iswupper(u'Q'));
    EXPECT_FALSE(iswupper(u'q'));
    EXPECT_TRUE(iswlower(u'q'));
    EXPECT_TRUE(iswlower(u'ß'));
    EXPECT_TRUE(iswupper(u'Ж'));
    EXPECT_FALSE(iswupper(u'ب'));
    EXPECT_FALSE(iswlower(u'ب'));
}

TEST(CharacterClass, CaseMappingOfLatinGreekAndCyrillic) {
    EXPECT_EQ(towlower(u'A'), u'a');
    EXPECT_EQ(towupper(u'z'), u'Z');
    EXPECT_EQ(towlower(u'Ä'), u'ä');
    EXPECT_EQ(towupper(u'ÿ'), u'Ÿ');
    EXPECT_EQ(towlower(u'Ÿ'), u'ÿ');
    EXPECT_EQ(towlower(u'Ā'), u'ā');
    EXPECT_EQ(towlower(u'ā'), u'ā');
    EXPECT_EQ(towupper(u'ł'), u'Ł');
    EXPECT_EQ(towlower(u'Σ'), u'σ');
    EXPECT_EQ(towupper(u'ς'), u'Σ');
    EXPECT_EQ(towlower(u'Ё'), u'ё');
    EXPECT_EQ(towupper(u'я'), u'Я');
    EXPECT_EQ(towlower(u'Ａ'), u'ａ');
    EXPECT_EQ(towlower(u'ک'), u'ک');
    EXPECT_EQ(towupper(u'5'), u'5');
    EXPECT_EQ(towlower(0x41), 0x61);
    EXPECT_EQ(towlower(-1), -1);
    EXPECT_FALSE(iswalpha(0x10000));
    EXPECT_EQ(towlower(u'@'), u'@');
}

TEST(CharacterClass, TablesAreConsistentOverEveryCodeUnit) {
    for (int code = 0; code <= 0xFFFF; ++code) {
        WCHAR c = static_cast<WCHAR>(code);
        WCHAR lower = towlower(c);
        WCHAR upper = towupper(c);
        if (lower != c) {
            ASSERT_TRUE(iswalpha(c) && iswalpha(lower)) << std::hex << code;
            ASSERT_TRUE(iswupper(c)) << std::hex << code;
        }
        if (upper != c) {
            ASSERT_TRUE(iswalpha(c) && iswalpha(upper)) << std::hex << code;
            ASSERT_TRUE(iswlower(c)) << std::hex << code;
        }
        // A letter is never also a digit, a space, punctuation or a control character.
        if (iswctype(c, 0x100)) {
            ASSERT_FALSE(iswctype(c, _DIGIT | _SPACE | _PUNCT | _CONTROL)) << std::hex << code;
        }
        if (iswdigit(c)) {
            ASSERT_FALSE(iswctype(c, _SPACE | _PUNCT)) << std::hex << code;
        }
    }
}
