// The calculator's texts: the 12-character number formatting, the display text with its
// point, digit grouping and Arabic-Indic digits, and the copy, paste and type keys.
#include <cmath>
#include <cstring>
#include <limits>

#include "CalculatorFixture.h"
#include "ClipboardText.h"
#include "panel/ClipboardText.h"

using CalcDisplay = CalculatorTest;

namespace {}  // namespace

TEST(CalcNumberFormat, FixedFormFitsTwelveCharactersElseExponentForm) {
    EXPECT_EQ(FormatCalcNumber(1.0 / 3, 12), u"0.33333333333");  // eleven decimals
    EXPECT_EQ(FormatCalcNumber(2.0 / 3, 12), u"0.66666666667");
    EXPECT_EQ(FormatCalcNumber(123456789012345.0, 12), u"1.234568e+14");
    EXPECT_EQ(FormatCalcNumber(-123456789012345.0, 12), u"-1.23457e+14");
    EXPECT_EQ(FormatCalcNumber(1.234567e-7, 12), u"1.234567e-07");
    EXPECT_EQ(FormatCalcNumber(-1.234567e-7, 12), u"-1.23457e-07");
    EXPECT_EQ(FormatCalcNumber(0.000001234, 12), u"0.000001234");
    EXPECT_EQ(FormatCalcNumber(123456789012.0, 12), u"123456789012");
    EXPECT_EQ(FormatCalcNumber(-12345678901.0, 12), u"-12345678901");
    EXPECT_EQ(FormatCalcNumber(-123456789012.0, 12), u"-1.23457e+11");  // the sign counts
    EXPECT_EQ(FormatCalcNumber(1e-13, 12), u"1.000000e-13");
    EXPECT_EQ(FormatCalcNumber(1e18, 12), u"1.000000e+18");
    EXPECT_EQ(FormatCalcNumber(2.5, 12), u"2.5");
    EXPECT_EQ(FormatCalcNumber(0, 12), u"0");
    EXPECT_EQ(FormatCalcNumber(-0.0, 12), u"0");
    EXPECT_EQ(FormatCalcNumber(std::numeric_limits<double>::quiet_NaN(), 12), u"Error");
}

TEST(CalcNumberFormat, DroppingEveryDecimalKeepsTheZerosOfTheWholeNumber) {
    // Twelve digits before the point leave no room for decimals; the whole number's own
    // trailing zeros are significant.
    EXPECT_EQ(FormatCalcNumber(123456789010.25, 12), u"123456789010");
    EXPECT_EQ(FormatCalcNumber(99999999999.99, 12), u"100000000000");
    EXPECT_EQ(FormatCalcNumber(50000000000.375, 12), u"50000000000.4");
}

TEST(CalcNumberFormat, DigitCountsOutsideTheDisplayRangeAreTakenAsTheNearest) {
    const double third = 1.0 / 3;
    EXPECT_EQ(FormatCalcNumber(third, -5), FormatCalcNumber(third, 1));
    EXPECT_EQ(FormatCalcNumber(third, 1), u"0");
    EXPECT_EQ(FormatCalcNumber(third, 1000), FormatCalcNumber(third, 20));
    EXPECT_EQ(FormatCalcNumber(-1e30, 1), u"-1e+30");
}

TEST(CalcNumberFormat, GroupingPutsSeparatorsBetweenDigitsOnly) {
    EXPECT_EQ(GroupCalcDigits(u"1234567."), u"1,234,567.");
    EXPECT_EQ(GroupCalcDigits(u"-123456."), u"-123,456.");
    EXPECT_EQ(GroupCalcDigits(u"123."), u"123.");
    EXPECT_EQ(GroupCalcDigits(u"1234.5678"), u"1,234.5678");
    EXPECT_EQ(GroupCalcDigits(u"12345"), u"12,345");
    EXPECT_EQ(GroupCalcDigits(u"1.234568e+14"), u"1.234568e+14");
    EXPECT_EQ(GroupCalcDigits(u""), u"");
}

TEST_F(CalcDisplay, TheDisplayEndsInAPointAndFollowsTheSwitches) {
    EXPECT_EQ(display(), u"0.");
    keys("1234567 group");
    EXPECT_EQ(panel->calcGrouping, 1);
    EXPECT_EQ(display(), u"1,234,567.");
    keys("C 123456 +/-");
    EXPECT_EQ(display(), u"-123,456.");
    keys("group");  // the latch of slot 5 is released again
    EXPECT_EQ(panel->calcGrouping, 0);
    EXPECT_EQ(display(), u"-123456.");

    keys("C 1.5 native");
    EXPECT_EQ(panel->calcNativeDigits, 1);
    EXPECT_EQ(display(), u"\u0661/\u0665");
    keys("C 12");
    EXPECT_EQ(display(), u"\u0661\u0662");  // no separator after the last digit
    keys("C 1234 group");
    EXPECT_EQ(display(), u"\u0661,\u0662\u0663\u0664");
}

TEST_F(CalcDisplay, CopyAndTypeGiveTheNumberWithItsPoint) {
    keys("12 copy");
    EXPECT_EQ(ReadClipboardText(nullptr), std::u16string(u"12."));
    EXPECT_EQ(text(), u"12");
    keys("type");
    EXPECT_EQ(calls(), std::vector<CallbackCall>{CallbackCall::string(u"12.")});

    calls().clear();
    keys("C 1234.5 group native copy type");
    // The clipboard gets the digits as typed; the application gets what the display shows.
    EXPECT_EQ(ReadClipboardText(nullptr), std::u16string(u"1,234.5"));
    EXPECT_EQ(calls(),
              std::vector<CallbackCall>{CallbackCall::string(u"\u0661,\u0662\u0663\u0664/\u0665")});
}

TEST_F(CalcDisplay, CopyLeavesTheClipboardAloneWhenAnotherWindowHoldsIt) {
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"kept"));
    ASSERT_TRUE(OpenClipboard(host->sipWindow()));  // held open by someone else
    keys("7 copy");
    CloseClipboard();
    EXPECT_EQ(ReadClipboardText(nullptr), std::u16string(u"kept"));
}

TEST_F(CalcDisplay, PasteTakesTheNumberTheClipboardTextStartsWith) {
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"42.5 apples"));
    keys("7 + paste");
    EXPECT_EQ(text(), u"42.5");
    keys("=");  // the pasted number was the right operand
    EXPECT_EQ(text(), u"49.5");

    ASSERT_TRUE(testsupport::putTextOnClipboard(u"apples"));
    keys("paste");
    EXPECT_EQ(text(), u"0");

    ASSERT_TRUE(testsupport::putTextOnClipboard(u""));  // no text: nothing changes
    keys("5 paste");
    EXPECT_EQ(text(), u"5");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    keys("paste");
    EXPECT_EQ(text(), u"5");
    EXPECT_EQ(panel->calcNewEntry, 0);
}
