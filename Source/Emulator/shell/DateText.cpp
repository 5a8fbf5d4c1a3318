// English date texts.
#include "shell/DateText.h"

#include <wchar16.h>

namespace {

std::u16string decimal(unsigned value) {
    return platform::fromUtf8(std::to_string(value));
}

}  // namespace

std::u16string dayName(unsigned day) {
    static const char16_t* const kDays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                            u"Thursday", u"Friday", u"Saturday"};
    return day < 7 ? kDays[day] : u"";
}

std::u16string monthName(unsigned month) {
    static const char16_t* const kMonths[] = {u"January",   u"February", u"March",    u"April",
                                              u"May",       u"June",     u"July",     u"August",
                                              u"September", u"October",  u"November", u"December"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : u"";
}

std::u16string longDateText(const SYSTEMTIME& time) {
    return dayName(time.wDayOfWeek) + u", " + decimal(time.wDay) + u" " + monthName(time.wMonth) +
           u" " + decimal(time.wYear);
}
