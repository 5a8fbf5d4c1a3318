// OLE Automation strings and dates: BSTR layout and lengths, DATE to and from SYSTEMTIME, and
// the English (United States) text of a DATE for each formatting flag.
#include <gtest/gtest.h>
#include <oleauto.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

SYSTEMTIME timeOf(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0,
                  WORD second = 0) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

DATE dateOf(SYSTEMTIME t) {
    DATE date = -1e9;
    EXPECT_TRUE(SystemTimeToVariantTime(&t, &date));
    return date;
}

// The text VarBstrFromDate gives for the user's default locale; "<error>" when it fails.
std::u16string textOf(DATE date, ULONG flags, LCID locale = LOCALE_USER_DEFAULT) {
    BSTR text = nullptr;
    if (FAILED(VarBstrFromDate(date, locale, flags, &text)))
        return u"<error>";
    std::u16string result(text, SysStringLen(text));
    EXPECT_EQ(text[result.size()], 0);
    SysFreeString(text);
    return result;
}

}  // namespace

TEST(BStr, LengthPrefixAndTerminator) {
    BSTR text = SysAllocString(u"Kelvo");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(SysStringByteLen(text), 10u);
    DWORD prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<BYTE*>(text) - 4, 4);
    EXPECT_EQ(prefix, 10u);
    EXPECT_EQ(std::u16string(text), u"Kelvo");
    SysFreeString(text);

    BSTR cut = SysAllocStringLen(u"abcdef", 3);
    EXPECT_EQ(std::u16string(cut), u"abc");
    SysFreeString(cut);
    BSTR inner = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(inner), 3u);
    EXPECT_EQ(inner[2], u'b');
    SysFreeString(inner);
    BSTR zeros = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(SysStringLen(zeros), 4u);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(zeros[i], 0);
    SysFreeString(zeros);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocStringLen(u"x", 0x7FFFFFFF), nullptr);
}

TEST(VariantTime, SystemTimeAndDateConvertBothWays) {
    EXPECT_EQ(dateOf(timeOf(1899, 12, 30)), 0.0);
    EXPECT_EQ(dateOf(timeOf(1900, 1, 1)), 2.0);
    EXPECT_EQ(dateOf(timeOf(1899, 12, 29, 6)), -1.25);
    EXPECT_EQ(dateOf(timeOf(1800, 1, 1, 12)), -36522.5);
    DATE date = dateOf(timeOf(2026, 12, 8, 3, 52, 7));
    EXPECT_NEAR(date, 46364.16119212963, 1e-9);

    SYSTEMTIME back{};
    ASSERT_TRUE(VariantTimeToSystemTime(date, &back));
    EXPECT_EQ(back.wYear, 2026);
    EXPECT_EQ(back.wMonth, 12);
    EXPECT_EQ(back.wDay, 8);
    EXPECT_EQ(back.wDayOfWeek, 2);  // Tuesday
    EXPECT_EQ(back.wHour, 3);
    EXPECT_EQ(back.wMinute, 52);
    EXPECT_EQ(back.wSecond, 7);
    ASSERT_TRUE(VariantTimeToSystemTime(-36522.5, &back));
    EXPECT_EQ(back.wYear, 1800);
    EXPECT_EQ(back.wDay, 1);
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wDayOfWeek, 3);  // Wednesday

    // Rounded to the nearest second, carrying into the next day.
    ASSERT_TRUE(VariantTimeToSystemTime(0.5 + 0.4 / 86400, &back));
    EXPECT_EQ(back.wSecond, 0);
    ASSERT_TRUE(VariantTimeToSystemTime(0.5 + 0.6 / 86400, &back));
    EXPECT_EQ(back.wSecond, 1);
    ASSERT_TRUE(VariantTimeToSystemTime(1.0 - 0.2 / 86400, &back));
    EXPECT_EQ(back.wDay, 31);
    EXPECT_EQ(back.wHour, 0);

    // Out of range or impossible dates fail.
    SYSTEMTIME bad = timeOf(2025, 2, 29);
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &date));
    bad = timeOf(99, 12, 31);
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &date));
    bad = timeOf(2024, 2, 29, 24);
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &date));
    EXPECT_FALSE(VariantTimeToSystemTime(3e6, &back));
    EXPECT_FALSE(VariantTimeToSystemTime(NAN, &back));
    EXPECT_FALSE(VariantTimeToSystemTime(-700000, &back));
}

TEST(VarBstrFromDate, DateTimeAndBothAsInEnglishUnitedStates) {
    DATE date = dateOf(timeOf(2026, 12, 8, 3, 52, 7));
    EXPECT_EQ(textOf(date, VAR_DATEVALUEONLY), u"12/8/2026");
    EXPECT_EQ(textOf(date, VAR_TIMEVALUEONLY), u"3:52:07 AM");
    EXPECT_EQ(textOf(date, 0), u"12/8/2026 3:52:07 AM");
    EXPECT_EQ(textOf(date, 0, 0x0409), u"12/8/2026 3:52:07 AM");
    EXPECT_EQ(textOf(dateOf(timeOf(2026, 1, 5, 23, 5, 9)), 0), u"1/5/2026 11:05:09 PM");
}

TEST(VarBstrFromDate, MidnightAndNoon) {
    DATE midnight = dateOf(timeOf(2026, 12, 8));
    EXPECT_EQ(textOf(midnight, VAR_TIMEVALUEONLY), u"12:00:00 AM");
    EXPECT_EQ(textOf(midnight, 0), u"12/8/2026");
    DATE noon = dateOf(timeOf(2026, 12, 8, 12));
    EXPECT_EQ(textOf(noon, VAR_TIMEVALUEONLY), u"12:00:00 PM");
    EXPECT_EQ(textOf(noon, 0), u"12/8/2026 12:00:00 PM");
    EXPECT_EQ(textOf(dateOf(timeOf(2026, 12, 8, 0, 0, 1)), 0), u"12/8/2026 12:00:01 AM");
    // Day 0 has no date part: only the time is shown.
    EXPECT_EQ(textOf(0.0, 0), u"12:00:00 AM");
    EXPECT_EQ(textOf(0.75, 0), u"6:00:00 PM");
    EXPECT_EQ(textOf(0.0, VAR_DATEVALUEONLY), u"12/30/1899");
}

TEST(VarBstrFromDate, DatesBefore1900) {
    EXPECT_EQ(textOf(dateOf(timeOf(1800, 1, 1, 12)), 0), u"1/1/1800 12:00:00 PM");
    EXPECT_EQ(textOf(-1.25, 0), u"12/29/1899 6:00:00 AM");
    EXPECT_EQ(textOf(-1.25, VAR_DATEVALUEONLY), u"12/29/1899");
    EXPECT_EQ(textOf(dateOf(timeOf(1066, 10, 14)), VAR_DATEVALUEONLY), u"10/14/1066");
}

TEST(VarBstrFromDate, RefusesWhatItCannotFormat) {
    BSTR text = nullptr;
    EXPECT_EQ(VarBstrFromDate(1.0, LOCALE_USER_DEFAULT, 0, nullptr), E_POINTER);
    EXPECT_EQ(VarBstrFromDate(1e7, LOCALE_USER_DEFAULT, 0, &text), E_INVALIDARG);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(VarBstrFromDate(1.0, 0x0429, 0, &text), E_INVALIDARG);
    EXPECT_EQ(
        VarBstrFromDate(1.0, LOCALE_USER_DEFAULT, VAR_DATEVALUEONLY | VAR_TIMEVALUEONLY, &text),
        E_INVALIDARG);
}
