// Reading numbers from UTF-16 text: wcstod's correctly rounded results and end pointer, and
// the 32-bit integer forms with their clamping.
#include <gtest/gtest.h>
#include <wchar16.h>

#include <cerrno>
#include <cmath>

namespace {

// Reads `text` with wcstod; `consumed` receives how many units it read.
double readDouble(const char16_t* text, ptrdiff_t& consumed) {
    WCHAR* end = nullptr;
    double value = wcstod(text, &end);
    consumed = end - text;
    return value;
}

}  // namespace

TEST(WideNumber, WcstodReadsDecimalNumbersAndSetsTheEnd) {
    ptrdiff_t used = -1;
    EXPECT_EQ(readDouble(u"  -12.5e3xyz", used), -12500.0);
    EXPECT_EQ(used, 9);
    EXPECT_EQ(readDouble(u"+.5", used), 0.5);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(readDouble(u"7.", used), 7.0);
    EXPECT_EQ(used, 2);
    EXPECT_EQ(readDouble(u"1e", used), 1.0);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(readDouble(u"3.25e-2*", used), 0.0325);
    EXPECT_EQ(used, 7);
    EXPECT_EQ(readDouble(u"123456789012", used), 123456789012.0);
    EXPECT_EQ(readDouble(u"1e17", used), 1e17);
    EXPECT_EQ(readDouble(u"-1e-12", used), -1e-12);
    // Hexadecimal text is not a number here: the 0 before the x is.
    EXPECT_EQ(readDouble(u"0x1A", used), 0.0);
    EXPECT_EQ(used, 1);
    // A number ends at the first character outside ASCII.
    EXPECT_EQ(readDouble(u"12۳", used), 12.0);
    EXPECT_EQ(used, 2);
}

TEST(WideNumber, WcstodGivesZeroAndTheStartWithoutANumber) {
    for (const char16_t* text : {u"", u"abc", u"-", u".", u"  +e5", u"۳", u"Error"}) {
        ptrdiff_t used = -1;
        EXPECT_EQ(readDouble(text, used), 0.0);
        EXPECT_EQ(used, 0);
    }
    EXPECT_EQ(wcstod(static_cast<const WCHAR*>(nullptr), nullptr), 0.0);
}

TEST(WideNumber, WcstodIsCorrectlyRounded) {
    ptrdiff_t used = 0;
    EXPECT_EQ(readDouble(u"0.1", used), 0.1);
    EXPECT_EQ(readDouble(u"0.30000000000000004", used), 0.1 + 0.2);
    EXPECT_EQ(readDouble(u"3.141592653589793", used), 3.141592653589793);
    EXPECT_EQ(readDouble(u"2.2250738585072014e-308", used), 2.2250738585072014e-308);
    EXPECT_EQ(readDouble(u"9007199254740993", used), 9007199254740992.0);
    EXPECT_EQ(readDouble(u"99999999999999999", used), 1e17);
}

TEST(WideNumber, WcstodReadsInfinityAndNan) {
    ptrdiff_t used = 0;
    EXPECT_EQ(readDouble(u"inf", used), INFINITY);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(readDouble(u"-Infinity!", used), -INFINITY);
    EXPECT_EQ(used, 9);
    EXPECT_TRUE(std::isnan(readDouble(u"NAN", used)));
    EXPECT_EQ(used, 3);
    errno = 0;
    EXPECT_EQ(readDouble(u"1e999", used), HUGE_VAL);
    EXPECT_EQ(errno, ERANGE);
}

TEST(WideNumber, IntegerFormsClampToThirtyTwoBits) {
    WCHAR* end = nullptr;
    const char16_t* hex = u" 0x1Fz";
    EXPECT_EQ(wcstol(hex, &end, 16), 31);
    EXPECT_EQ(end, hex + 5);
    EXPECT_EQ(wcstol(u"017", nullptr, 0), 15);
    EXPECT_EQ(wcstol(u"0x10", nullptr, 0), 16);
    EXPECT_EQ(wcstol(u"-2147483648", nullptr, 10), INT32_MIN);
    errno = 0;
    EXPECT_EQ(wcstol(u"2147483648", nullptr, 10), INT32_MAX);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(wcstol(u"-99999999999999999999", nullptr, 10), INT32_MIN);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(wcstoul(u"4294967295", nullptr, 10), 4294967295u);
    EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 4294967295u);
    errno = 0;
    EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 4294967295u);
    EXPECT_EQ(errno, ERANGE);
    const char16_t* none = u"  xyz";
    EXPECT_EQ(wcstol(none, &end, 10), 0);
    EXPECT_EQ(end, none);
    EXPECT_EQ(wcstol(u"12", nullptr, 1), 0);
    EXPECT_EQ(_wtoi(u"  42abc"), 42);
    EXPECT_EQ(_wtoi(u"-7"), -7);
    EXPECT_EQ(_wtoi(nullptr), 0);
}
