// Dates as the device writes them in English: day and month names, and the long date the Today
// screen and the Calendar show ("Tuesday, 8 December 2026").
#pragma once

#include <windows.h>

#include <string>

// "Sunday" for 0 .. "Saturday" for 6; empty for anything else.
std::u16string dayName(unsigned day);
// "January" for 1 .. "December" for 12; empty for anything else.
std::u16string monthName(unsigned month);
// "Tuesday, 8 December 2026".
std::u16string longDateText(const SYSTEMTIME& time);
