// The calendar's dates: leap years, month lengths, weekdays, the six-week grid of a month
// starting on any weekday, and moving by days and months within the calendar's years.
#include <gtest/gtest.h>

#include "programs/calendar/MonthGrid.h"

namespace {

TEST(CalendarDates, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_FALSE(isLeapYear(2026));
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2026, 4), 30);
    EXPECT_EQ(daysInMonth(2026, 12), 31);
    EXPECT_EQ(daysInMonth(2026, 13), 0);
}

TEST(CalendarDates, WeekdaysOfKnownDates) {
    EXPECT_EQ(dayOfWeek({1601, 1, 1}), 1);    // Monday
    EXPECT_EQ(dayOfWeek({2000, 1, 1}), 6);    // Saturday
    EXPECT_EQ(dayOfWeek({2000, 2, 29}), 2);   // Tuesday
    EXPECT_EQ(dayOfWeek({2000, 3, 1}), 3);    // Wednesday, after a leap day
    EXPECT_EQ(dayOfWeek({1900, 3, 1}), 4);    // Thursday, no leap day before it
    EXPECT_EQ(dayOfWeek({2026, 12, 8}), 2);   // Tuesday
    EXPECT_EQ(dayOfWeek({9999, 12, 31}), 5);  // Friday
}

TEST(MonthGrids, GridStartsOnTheSundayOnOrBeforeTheFirstAndRunsSixWeeks) {
    // February 2026 starts on a Sunday: the first cell is the 1st, 28 days fill four rows and
    // the last two rows show March.
    MonthGrid grid = monthGrid(2026, 2);
    EXPECT_EQ(grid.cells[0], (CalendarDate{2026, 2, 1}));
    EXPECT_EQ(grid.cells[27], (CalendarDate{2026, 2, 28}));
    EXPECT_EQ(grid.cells[28], (CalendarDate{2026, 3, 1}));
    EXPECT_EQ(grid.cells[41], (CalendarDate{2026, 3, 14}));
    EXPECT_TRUE(grid.inMonth(0));
    EXPECT_FALSE(grid.inMonth(28));

    // August 2026 starts on a Saturday: six days of July before it, and its 31st in the sixth row.
    grid = monthGrid(2026, 8);
    EXPECT_EQ(grid.cells[0], (CalendarDate{2026, 7, 26}));
    EXPECT_EQ(grid.cells[6], (CalendarDate{2026, 8, 1}));
    EXPECT_EQ(grid.cellOf({2026, 8, 31}), 36);
    EXPECT_FALSE(grid.inMonth(5));

    // A leap February: the 29th is in the grid and in the month.
    grid = monthGrid(2024, 2);
    EXPECT_EQ(grid.cells[0], (CalendarDate{2024, 1, 28}));
    EXPECT_EQ(grid.cellOf({2024, 2, 29}), 32);
    EXPECT_TRUE(grid.inMonth(32));
    EXPECT_EQ(grid.cells[33], (CalendarDate{2024, 3, 1}));
    EXPECT_EQ(grid.cellOf({2024, 4, 1}), -1);

    // Every cell is the day after the one before, across a year's end.
    grid = monthGrid(2026, 12);
    for (int i = 1; i < kGridCells; ++i)
        EXPECT_EQ(addDays(grid.cells[static_cast<size_t>(i - 1)], 1),
                  grid.cells[static_cast<size_t>(i)]);
    EXPECT_EQ(grid.cells[41], (CalendarDate{2027, 1, 9}));
}

TEST(MonthGrids, FirstMonthOfTheCalendarShowsTheDaysBeforeIt) {
    const MonthGrid grid = monthGrid(1601, 1);
    EXPECT_EQ(grid.cells[0], (CalendarDate{1600, 12, 31}));
    EXPECT_EQ(grid.cells[1], (CalendarDate{1601, 1, 1}));
    EXPECT_FALSE(grid.inMonth(0));
    // Asked for outside the calendar, the grid is the nearest month.
    EXPECT_EQ(monthGrid(12000, 15).year, kLastCalendarYear);
    EXPECT_EQ(monthGrid(12000, 15).month, 12);
}

TEST(CalendarDates, MovingByDaysAndMonths) {
    EXPECT_EQ(addDays({2024, 2, 28}, 1), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(addDays({2025, 2, 28}, 1), (CalendarDate{2025, 3, 1}));
    EXPECT_EQ(addDays({2026, 12, 31}, 1), (CalendarDate{2027, 1, 1}));
    EXPECT_EQ(addDays({2027, 1, 1}, -1), (CalendarDate{2026, 12, 31}));
    EXPECT_EQ(addDays({2000, 1, 1}, 366), (CalendarDate{2001, 1, 1}));
    EXPECT_EQ(addDays({2026, 3, 1}, -7), (CalendarDate{2026, 2, 22}));

    // A day the next month lacks becomes that month's last day.
    EXPECT_EQ(addMonths({2024, 1, 31}, 1), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(addMonths({2025, 1, 31}, 1), (CalendarDate{2025, 2, 28}));
    EXPECT_EQ(addMonths({2026, 3, 31}, -1), (CalendarDate{2026, 2, 28}));
    EXPECT_EQ(addMonths({2026, 12, 15}, 1), (CalendarDate{2027, 1, 15}));
    EXPECT_EQ(addMonths({2026, 1, 15}, -13), (CalendarDate{2024, 12, 15}));

    // The calendar ends where the device's dates end.
    EXPECT_EQ(addDays({1601, 1, 1}, -1), (CalendarDate{1601, 1, 1}));
    EXPECT_EQ(addDays({9999, 12, 31}, 400), (CalendarDate{9999, 12, 31}));
    EXPECT_EQ(addMonths({9999, 12, 31}, 1), (CalendarDate{9999, 12, 31}));
    EXPECT_EQ(addMonths({1601, 1, 31}, -1), (CalendarDate{1601, 1, 31}));
    EXPECT_EQ(addDays({1600, 12, 31}, 0), (CalendarDate{1601, 1, 1}));
}

}  // namespace
