// Formatted output into UTF-16: the numeric forms a calculator needs, the Windows wide-printf
// conventions for text, and the buffer limits of each call.
#include <gtest/gtest.h>
#include <wchar16.h>

#include <string>

using platform::formatText;

TEST(WideFormat, FixedAndExponentFormsMatchTheCLibrary) {
    EXPECT_EQ(formatText(u"%.12f", 3.141592653589793), u"3.141592653590");
    EXPECT_EQ(formatText(u"%.12f", -2.5), u"-2.500000000000");
    EXPECT_EQ(formatText(u"%.12f", 1e-12), u"0.000000000001");
    EXPECT_EQ(formatText(u"%.12f", 4e-13), u"0.000000000000");
    EXPECT_EQ(formatText(u"%.12f", 1e17), u"100000000000000000.000000000000");
    EXPECT_EQ(formatText(u"%.12f", 99999999999999999.0), u"100000000000000000.000000000000");
    EXPECT_EQ(formatText(u"%.6e", 1e17), u"1.000000e+17");
    EXPECT_EQ(formatText(u"%.6e", 123456789012345678.0), u"1.234568e+17");
    EXPECT_EQ(formatText(u"%.5e", -1.2345678e-12), u"-1.23457e-12");
    EXPECT_EQ(formatText(u"%.5e", -1e-12), u"-1.00000e-12");
    EXPECT_EQ(formatText(u"%.6E", 6.02214076e23), u"6.022141E+23");
    EXPECT_EQ(formatText(u"%g|%G", 0.0001, 1e-5), u"0.0001|1E-05");
    EXPECT_EQ(formatText(u"%f", 0.0), u"0.000000");
}

TEST(WideFormat, HalvesRoundAsTheCLibraryDoes) {
    // Exact binary halves round to even; decimal "halves" round by their binary value.
    EXPECT_EQ(formatText(u"%.0f %.0f %.0f", 0.5, 1.5, 2.5), u"0 2 2");
    EXPECT_EQ(formatText(u"%.1f %.1f", 0.25, 0.75), u"0.2 0.8");
    EXPECT_EQ(formatText(u"%.2f", 1.005), u"1.00");
    EXPECT_EQ(formatText(u"%.2f", 1.015), u"1.01");
    EXPECT_EQ(formatText(u"%.1f", 0.35), u"0.3");
    EXPECT_EQ(formatText(u"%.1f", -0.25), u"-0.2");
    EXPECT_EQ(formatText(u"%.3e", 1.0005), u"1.000e+00");
    EXPECT_EQ(formatText(u"%.3e", 1.0015), u"1.002e+00");
}

TEST(WideFormat, FormatTextBuiltFromAFormat) {
    std::u16string fixed = formatText(u"%%.%df", 12);
    EXPECT_EQ(fixed, u"%.12f");
    EXPECT_EQ(formatText(fixed.c_str(), 2.0 / 3.0), u"0.666666666667");
    std::u16string exponent = formatText(u"%%.%de", 5);
    EXPECT_EQ(exponent, u"%.5e");
    EXPECT_EQ(formatText(exponent.c_str(), -123456.789), u"-1.23457e+05");
}

TEST(WideFormat, FlagsWidthAndPrecision) {
    EXPECT_EQ(formatText(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 7, 7),
              u"[   42][42   ][-0042][+7][ 7]");
    EXPECT_EQ(formatText(u"[%*d][%-*d][%*d]", 4, 1, 3, 2, -3, 3), u"[   1][2  ][3  ]");
    EXPECT_EQ(formatText(u"[%.*f][%.*f]", 2, 3.14159, -1, 1.5), u"[3.14][1.500000]");
    EXPECT_EQ(formatText(u"[%8.3f][%-8.2e][%+.1f]", 3.14159, 1234.5, 2.25),
              u"[   3.142][1.23e+03][+2.2]");
    EXPECT_EQ(formatText(u"%x %X %#x %o %#o", 255u, 255u, 255u, 8u, 8u), u"ff FF 0xff 10 010");
    EXPECT_EQ(formatText(u"%u %d", -1, 0x80000000u), u"4294967295 -2147483648");
    EXPECT_EQ(formatText(u"%hd %hu", 70000, 70000), u"4464 4464");
    EXPECT_EQ(formatText(u"%ld %lu", 123456789, 4000000000u), u"123456789 4000000000");
    EXPECT_EQ(formatText(u"%lld %I64d %I64u", -9000000000000000000LL, 9000000000000000000LL,
                         18446744073709551615ULL),
              u"-9000000000000000000 9000000000000000000 18446744073709551615");
    EXPECT_EQ(formatText(u"%zu %Iu", static_cast<size_t>(123), static_cast<size_t>(4)), u"123 4");
    EXPECT_EQ(formatText(u"100%% %5.1f%%", 99.95), u"100% 100.0%");
}

TEST(WideFormat, TextConversionsFollowWideConventions) {
    EXPECT_EQ(formatText(u"%s|%ls|%S|%hs", u"سلام", u"wide", "narrow", "ok"),
              u"سلام|wide|narrow|ok");
    EXPECT_EQ(formatText(u"%s|%S", static_cast<const char16_t*>(nullptr),
                         static_cast<const char*>(nullptr)),
              u"(null)|(null)");
    EXPECT_EQ(formatText(u"[%6s][%-6s][%.2s]", u"abc", u"abc", u"abc"), u"[   abc][abc   ][ab]");
    EXPECT_EQ(formatText(u"%c%c%C", u'ک', u'x', 'y'), u"کxy");
    EXPECT_EQ(formatText(u"[%3c]", u'a'), u"[  a]");
    EXPECT_EQ(formatText(u"MacroName%d", 19), u"MacroName19");
    // An unknown conversion is copied and reads no argument; a lone % at the end stays.
    EXPECT_EQ(formatText(u"%q %d %", 5), u"%q 5 %");
    EXPECT_EQ(formatText(u"%p", reinterpret_cast<void*>(0x1234)), u"0000000000001234");
}

TEST(WideFormat, SnwprintfReportsMinusOneWhenTextDoesNotFit) {
    WCHAR buffer[12];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    // Fits with room for the terminator.
    EXPECT_EQ(_snwprintf(buffer, 8, u"%d", 1234), 4);
    EXPECT_EQ(std::u16string(buffer), u"1234");
    // Exactly fills the count: the length, without a terminator.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(_snwprintf(buffer, 4, u"%d", 1234), 4);
    EXPECT_EQ(std::u16string(buffer, 5), u"1234#");
    // Too long: -1 and exactly `count` units written.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(_snwprintf(buffer, 5, u"%.12f", 3.25), -1);
    EXPECT_EQ(std::u16string(buffer, 12), u"3.250#######");
    EXPECT_EQ(_snwprintf(buffer, 0, u"x"), -1);
    EXPECT_EQ(buffer[0], u'3');
}

TEST(WideFormat, SwprintfAlwaysTerminates) {
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(swprintf(buffer, 4, u"%s", u"abcdef"), -1);
    EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"abc\0#", 5));
    EXPECT_EQ(swprintf(buffer, 3, u"%s", u"abc"), -1);
    EXPECT_EQ(std::u16string(buffer, 3), std::u16string(u"ab\0", 3));
    EXPECT_EQ(swprintf(buffer, 4, u"%s", u"abc"), 3);
    EXPECT_EQ(swprintf(buffer, 8, u"%s-%d", u"ab", 5), 4);
    EXPECT_EQ(std::u16string(buffer), u"ab-5");
}

TEST(WideFormat, WsprintfStopsAt1024Units) {
    std::u16string big(2000, u'x');
    std::u16string buffer(1100, u'#');
    EXPECT_EQ(wsprintfW(buffer.data(), u"%s", big.c_str()), 1023);
    EXPECT_EQ(buffer.find(u'\0'), 1023u);
    EXPECT_EQ(buffer[1024], u'#');
    EXPECT_EQ(wsprintfW(buffer.data(), u"%s=%d", u"DPI", 96), 6);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"DPI=96");
}

TEST(WideFormat, HugeWidthsAreBounded) {
    std::u16string text = formatText(u"%999999999999d", 1);
    EXPECT_LE(text.size(), 5000u);
    EXPECT_EQ(text.back(), u'1');
}
