// The Calendar program's dates: Gregorian calendar arithmetic over the years the device's clock
// can show, and the grid of a month as the calendar draws it, six weeks from the Sunday on or
// before the month's first day.
#pragma once

#include <array>
#include <compare>

struct CalendarDate {
    int year = 1601;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    auto operator<=>(const CalendarDate&) const = default;
};

inline constexpr int kFirstCalendarYear = 1601;
inline constexpr int kLastCalendarYear = 9999;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// 0 = Sunday .. 6 = Saturday.
int dayOfWeek(const CalendarDate& date);
// The date `days` later (earlier when negative), kept within the calendar's years.
CalendarDate addDays(const CalendarDate& date, int days);
// The same day `months` later, or the month's last day when it is shorter; kept within the
// calendar's years.
CalendarDate addMonths(const CalendarDate& date, int months);

inline constexpr int kGridCells = 42;

struct MonthGrid {
    int year = kFirstCalendarYear;
    int month = 1;
    std::array<CalendarDate, kGridCells> cells{};  // row by row, Sunday first
    bool inMonth(int cell) const;
    // The cell showing `date`, or -1.
    int cellOf(const CalendarDate& date) const;
};

MonthGrid monthGrid(int year, int month);
