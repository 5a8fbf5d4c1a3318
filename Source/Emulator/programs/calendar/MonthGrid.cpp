// Calendar arithmetic through day numbers counted from 1 January of year 1.
#include "programs/calendar/MonthGrid.h"

#include <algorithm>

namespace {

constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr CalendarDate kFirstDate{kFirstCalendarYear, 1, 1};
constexpr CalendarDate kLastDate{kLastCalendarYear, 12, 31};

long long daysBeforeYear(long long year) {
    const long long y = year - 1;
    return 365 * y + y / 4 - y / 100 + y / 400;
}

long long dayNumber(const CalendarDate& date) {
    const int month = std::clamp(date.month, 1, 12);
    long long n = daysBeforeYear(date.year) + kDaysBeforeMonth[month - 1] + date.day - 1;
    if (month > 2 && isLeapYear(date.year))
        ++n;
    return n;
}

CalendarDate dateOfDayNumber(long long n) {
    CalendarDate date;
    // 146097 days make 400 years; the estimate is at most one year off.
    long long year = n * 400 / 146097 + 1;
    while (daysBeforeYear(year) > n)
        --year;
    while (daysBeforeYear(year + 1) <= n)
        ++year;
    date.year = static_cast<int>(year);
    int dayOfYear = static_cast<int>(n - daysBeforeYear(year));
    date.month = 1;
    while (date.month < 12 && dayOfYear >= daysInMonth(date.year, date.month)) {
        dayOfYear -= daysInMonth(date.year, date.month);
        ++date.month;
    }
    date.day = dayOfYear + 1;
    return date;
}

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

int dayOfWeek(const CalendarDate& date) {
    // 1 January of year 1 was a Monday.
    return static_cast<int>((dayNumber(date) + 1) % 7);
}

CalendarDate addDays(const CalendarDate& date, int days) {
    const long long n =
        std::clamp(dayNumber(date) + days, dayNumber(kFirstDate), dayNumber(kLastDate));
    return dateOfDayNumber(n);
}

CalendarDate addMonths(const CalendarDate& date, int months) {
    const long long index = static_cast<long long>(date.year) * 12 + (date.month - 1) + months;
    const long long first = static_cast<long long>(kFirstCalendarYear) * 12;
    const long long last = static_cast<long long>(kLastCalendarYear) * 12 + 11;
    const long long clamped = std::clamp(index, first, last);
    CalendarDate moved;
    moved.year = static_cast<int>(clamped / 12);
    moved.month = static_cast<int>(clamped % 12) + 1;
    moved.day = std::min(date.day, daysInMonth(moved.year, moved.month));
    return moved;
}

bool MonthGrid::inMonth(int cell) const {
    return cell >= 0 && cell < kGridCells && cells[static_cast<size_t>(cell)].month == month &&
           cells[static_cast<size_t>(cell)].year == year;
}

int MonthGrid::cellOf(const CalendarDate& date) const {
    const long long offset = dayNumber(date) - dayNumber(cells[0]);
    return offset >= 0 && offset < kGridCells ? static_cast<int>(offset) : -1;
}

MonthGrid monthGrid(int year, int month) {
    MonthGrid grid;
    grid.year = std::clamp(year, kFirstCalendarYear, kLastCalendarYear);
    grid.month = std::clamp(month, 1, 12);
    const CalendarDate first{grid.year, grid.month, 1};
    // The grid may start in the month before the calendar's first (December 1600), which is
    // shown but never chosen: day numbers reach it without any clamping.
    const long long start = dayNumber(first) - dayOfWeek(first);
    for (int i = 0; i < kGridCells; ++i)
        grid.cells[static_cast<size_t>(i)] = dateOfDayNumber(start + i);
    return grid;
}
