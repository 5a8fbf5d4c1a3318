// Calendar ("calendar.exe"): the month of the device's date as a grid of six weeks with today
// marked. The arrows beside the month's name (or Page Up and Page Down) go to the previous and
// next month; tapping a day (or the arrow keys) chooses it and the line below the grid names it;
// "Today" (or Home) comes back to today.
#pragma once

#include <windef.h>
#include <wingdi.h>

inline constexpr WCHAR kCalendarWindowClass[] = u"CalendarWindow";
inline constexpr WCHAR kCalendarTitle[] = u"Calendar";

// Where the calendar's parts lie in a window of a given size. A window too short for six
// readable weeks below the month's name (a turned screen with the input panel up) puts the
// month's name, the arrows, the chosen day and "Today" in a column beside the grid.
struct CalendarLayout {
    bool beside = false;
    RECT header{};    // the band behind the month's name and the arrows
    RECT previous{};  // the arrow to the previous month
    RECT next{};
    RECT title{};     // the month's name
    RECT weekdays{};  // the row of day names
    RECT grid{};      // six rows of seven days
    RECT footer{};    // the chosen day's date
    RECT todayButton{};
    // The cell of grid position 0..41 (row by row, Sunday first).
    RECT cell(int index) const;
};
CalendarLayout calendarLayout(int width, int height, int scale);

// The colour of today's mark.
inline constexpr COLORREF kCalendarTodayColour = RGB(200, 50, 40);

// Puts "calendar.exe" in the device's program table.
void registerCalendarProgram();
