// DATE conversions: to and from SYSTEMTIME, and the text of a DATE in the device's locale,
// English (United States): "M/d/yyyy" and "h:mm:ss AM".
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// 1 January 100 and 31 December 9999, in days from 30 December 1899.
constexpr int64_t kFirstDay = -657434;
constexpr int64_t kLastDay = 2958465;

// Days from 1 January 1970 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

const int64_t kEpoch = daysFromCivil(1899, 12, 30);

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A DATE split into its calendar day (days from the epoch) and the second of that day,
// rounded to the nearest second. False when out of range.
bool splitDate(DATE date, int64_t& day, int64_t& second) {
    if (!std::isfinite(date) || date < static_cast<double>(kFirstDay) ||
        date >= static_cast<double>(kLastDay + 1)) {
        return false;
    }
    // The integer part is the day, the fraction's magnitude the time (also before 1899).
    double whole = std::trunc(date);
    day = static_cast<int64_t>(whole);
    second = std::llround(std::fabs(date - whole) * static_cast<double>(kSecondsPerDay));
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        ++day;
    }
    return day <= kLastDay;
}

}  // namespace

INT SystemTimeToVariantTime(LPSYSTEMTIME systemTime, DATE* variantTime) {
    if (systemTime == nullptr || variantTime == nullptr)
        return FALSE;
    const SYSTEMTIME& t = *systemTime;
    if (t.wYear < 100 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > daysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 ||
        t.wSecond > 59) {
        return FALSE;
    }
    int64_t day = daysFromCivil(t.wYear, t.wMonth, t.wDay) - kEpoch;
    double fraction = static_cast<double>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) /
                      static_cast<double>(kSecondsPerDay);
    *variantTime =
        day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
    return TRUE;
}

INT VariantTimeToSystemTime(DATE variantTime, LPSYSTEMTIME systemTime) {
    if (systemTime == nullptr)
        return FALSE;
    int64_t day = 0;
    int64_t second = 0;
    if (!splitDate(variantTime, day, second))
        return FALSE;
    int64_t year = 0, month = 0, dayOfMonth = 0;
    civilFromDays(day + kEpoch, year, month, dayOfMonth);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(dayOfMonth);
    // 30 December 1899 was a Saturday (6).
    t.wDayOfWeek = static_cast<WORD>(((day + 6) % 7 + 7) % 7);
    t.wHour = static_cast<WORD>(second / 3600);
    t.wMinute = static_cast<WORD>(second / 60 % 60);
    t.wSecond = static_cast<WORD>(second % 60);
    t.wMilliseconds = 0;
    *systemTime = t;
    return TRUE;
}

HRESULT VarBstrFromDate(DATE date, LCID locale, ULONG flags, BSTR* result) {
    if (result == nullptr)
        return E_POINTER;
    *result = nullptr;
    LCID language = locale & 0xFFFF;
    if (language != LOCALE_USER_DEFAULT && language != LOCALE_SYSTEM_DEFAULT &&
        language != LOCALE_NEUTRAL && language != MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) {
        return E_INVALIDARG;
    }
    bool timeOnly = (flags & VAR_TIMEVALUEONLY) != 0;
    bool dateOnly = (flags & VAR_DATEVALUEONLY) != 0;
    if (timeOnly && dateOnly)
        return E_INVALIDARG;
    SYSTEMTIME t{};
    if (!VariantTimeToSystemTime(date, &t))
        return E_INVALIDARG;
    int64_t day = 0;
    int64_t second = 0;
    splitDate(date, day, second);
    // As on the device: a DATE without a time shows only its date, one on day 0 only its time.
    bool showDate = !timeOnly && (dateOnly || day != 0);
    bool showTime = !dateOnly && (timeOnly || second != 0 || day == 0);

    std::string text;
    char buffer[32];
    if (showDate) {
        std::snprintf(buffer, sizeof buffer, "%u/%u/%04u", t.wMonth, t.wDay, t.wYear);
        text += buffer;
    }
    if (showTime) {
        unsigned hour12 = t.wHour % 12 == 0 ? 12u : t.wHour % 12u;
        std::snprintf(buffer, sizeof buffer, "%u:%02u:%02u %s", hour12, t.wMinute, t.wSecond,
                      t.wHour < 12 ? "AM" : "PM");
        if (!text.empty())
            text += ' ';
        text += buffer;
    }
    std::u16string wide(text.begin(), text.end());
    *result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}
