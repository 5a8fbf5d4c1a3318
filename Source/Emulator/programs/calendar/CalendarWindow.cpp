// The Calendar program's window.
#include <device/Programs.h>
#include <wchar16.h>
#include <windows.h>

#include <algorithm>

#include "device/DeviceNames.h"
#include "programs/ProgramIcons.h"
#include "programs/calendar/Calendar.h"
#include "programs/calendar/MonthGrid.h"
#include "programs/common/DisplayText.h"
#include "programs/common/GdiScope.h"
#include "programs/common/ProgramWindow.h"
#include "shell/DateText.h"

namespace {

constexpr int kHeaderHeight = 28;
constexpr int kArrowWidth = 36;
constexpr int kWeekdaysHeight = 18;
constexpr int kFooterHeight = 26;
constexpr int kTodayButtonWidth = 46;
constexpr int kMargin = 4;
// Below this a week's row no longer holds its numbers: the header goes beside the grid.
constexpr int kMinWeekHeight = 16;
// The column beside the grid: its share of the width, and its least width.
constexpr int kColumnPercent = 44;
constexpr int kMinColumnWidth = 112;
// How often the calendar looks whether the day has changed.
constexpr UINT kDayCheckMs = 30000;
constexpr UINT_PTR kDayCheckTimer = 1;

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kHeader = RGB(226, 234, 248);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kOtherMonth = RGB(168, 168, 168);
constexpr COLORREF kWeekdayText = RGB(70, 80, 100);
constexpr COLORREF kGridLine = RGB(222, 226, 232);
constexpr COLORREF kChosen = RGB(0, 70, 160);
constexpr COLORREF kButton = RGB(236, 238, 242);
constexpr COLORREF kButtonEdge = RGB(150, 156, 168);

constexpr const char16_t* kWeekdayLetters[] = {u"Su", u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa"};

CalendarDate dateOf(const SYSTEMTIME& time) {
    CalendarDate date{time.wYear, time.wMonth, time.wDay};
    // A clock outside the calendar's years shows its nearest day.
    if (date.year < kFirstCalendarYear)
        return CalendarDate{kFirstCalendarYear, 1, 1};
    if (date.year > kLastCalendarYear)
        return CalendarDate{kLastCalendarYear, 12, 31};
    date.month = std::clamp(date.month, 1, 12);
    date.day = std::clamp(date.day, 1, daysInMonth(date.year, date.month));
    return date;
}

CalendarDate deviceToday() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return dateOf(now);
}

std::u16string decimal(int value) {
    return platform::fromUtf8(std::to_string(value));
}

class CalendarWindow : public ProgramWindow {
protected:
    void created() override;
    void paint(HDC dc, int width, int height) override;
    void stylusUp(POINT point) override;
    void keyDown(UINT vk) override;
    void timer(UINT_PTR id) override;

private:
    void choose(const CalendarDate& date);
    void paintHeader(HDC dc, const CalendarLayout& layout) const;
    void paintGrid(HDC dc, const CalendarLayout& layout) const;
    void paintFooter(HDC dc, const CalendarLayout& layout) const;

    CalendarDate m_today;
    CalendarDate m_chosen;
    MonthGrid m_grid;
    FontHandle m_font;
    FontHandle m_bold;
    FontHandle m_title;
    FontHandle m_small;
    FontHandle m_footer;
};

void CalendarWindow::created() {
    m_font = makeProgramFont(12, scale(), FontWeight::Normal);
    m_bold = makeProgramFont(12, scale(), FontWeight::Bold);
    m_title = makeProgramFont(14, scale(), FontWeight::Bold);
    m_small = makeProgramFont(10, scale(), FontWeight::Normal);
    m_footer = makeProgramFont(11, scale(), FontWeight::Normal);
    m_today = deviceToday();
    choose(m_today);
    SetTimer(window(), kDayCheckTimer, kDayCheckMs, nullptr);
}

void CalendarWindow::choose(const CalendarDate& date) {
    m_chosen = date;
    if (date.year != m_grid.year || date.month != m_grid.month || m_grid.cellOf(date) < 0)
        m_grid = monthGrid(date.year, date.month);
    invalidate();
}

void CalendarWindow::timer(UINT_PTR id) {
    if (id != kDayCheckTimer)
        return;
    const CalendarDate today = deviceToday();
    if (today == m_today)
        return;
    // Past midnight: the mark moves, and a calendar left on the old today follows it.
    const bool followToday = m_chosen == m_today;
    m_today = today;
    if (followToday)
        choose(today);
    invalidate();
}

void CalendarWindow::stylusUp(POINT point) {
    const CalendarLayout layout = calendarLayout(clientWidth(), clientHeight(), scale());
    if (PtInRect(&layout.previous, point)) {
        choose(addMonths(m_chosen, -1));
    } else if (PtInRect(&layout.next, point)) {
        choose(addMonths(m_chosen, 1));
    } else if (PtInRect(&layout.todayButton, point)) {
        choose(m_today);
    } else if (PtInRect(&layout.grid, point)) {
        for (int i = 0; i < kGridCells; ++i) {
            const RECT cell = layout.cell(i);
            if (PtInRect(&cell, point)) {
                // Days outside the calendar's years are shown but cannot be chosen.
                const CalendarDate date = m_grid.cells[static_cast<size_t>(i)];
                choose(addDays(date, 0));
                break;
            }
        }
    }
}

void CalendarWindow::keyDown(UINT vk) {
    switch (vk) {
        case VK_LEFT:
            choose(addDays(m_chosen, -1));
            break;
        case VK_RIGHT:
            choose(addDays(m_chosen, 1));
            break;
        case VK_UP:
            choose(addDays(m_chosen, -7));
            break;
        case VK_DOWN:
            choose(addDays(m_chosen, 7));
            break;
        case VK_PRIOR:
            choose(addMonths(m_chosen, -1));
            break;
        case VK_NEXT:
            choose(addMonths(m_chosen, 1));
            break;
        case VK_HOME:
            choose(m_today);
            break;
        default:
            break;
    }
}

void CalendarWindow::paintHeader(HDC dc, const CalendarLayout& layout) const {
    fillRect(dc, layout.header, kHeader);
    SetTextColor(dc, kText);
    {
        Selection font(dc, m_title.get());
        const std::u16string title =
            monthName(static_cast<unsigned>(m_grid.month)) + u" " + decimal(m_grid.year);
        drawDisplayText(dc, layout.title, title, TextAlign::Centre);
    }
    SetTextColor(dc, kChosen);
    Selection font(dc, m_title.get());
    drawDisplayText(dc, layout.previous, u"\u25C4", TextAlign::Centre);
    drawDisplayText(dc, layout.next, u"\u25BA", TextAlign::Centre);
}

void CalendarWindow::paintGrid(HDC dc, const CalendarLayout& layout) const {
    {
        Selection font(dc, m_small.get());
        SetTextColor(dc, kWeekdayText);
        for (int d = 0; d < 7; ++d) {
            const RECT cell = layout.cell(d);
            drawDisplayText(
                dc, RECT{cell.left, layout.weekdays.top, cell.right, layout.weekdays.bottom},
                kWeekdayLetters[d], TextAlign::Centre);
        }
    }
    fillRect(dc, RECT{layout.grid.left, layout.grid.top - 1, layout.grid.right, layout.grid.top},
             kGridLine);
    for (int i = 0; i < kGridCells; ++i) {
        const RECT cell = layout.cell(i);
        const CalendarDate& date = m_grid.cells[static_cast<size_t>(i)];
        fillRect(dc, RECT{cell.left, cell.bottom - 1, cell.right, cell.bottom}, kGridLine);
        const bool today = date == m_today;
        const bool chosen = date == m_chosen;
        RECT mark = cell;
        InflateRect(&mark, -scale(), -scale());
        mark.bottom -= 1;
        if (today) {
            fillRect(dc, mark, kCalendarTodayColour);
        } else if (chosen) {
            frameRect(dc, mark, kChosen);
            InflateRect(&mark, -1, -1);
            frameRect(dc, mark, kChosen);
        }
        SetTextColor(dc, today ? RGB(255, 255, 255) : m_grid.inMonth(i) ? kText : kOtherMonth);
        Selection font(dc, today || chosen ? m_bold.get() : m_font.get());
        drawDisplayText(dc, cell, decimal(date.day), TextAlign::Centre);
    }
}

void CalendarWindow::paintFooter(HDC dc, const CalendarLayout& layout) const {
    fillRect(
        dc, RECT{layout.header.left, layout.footer.top, layout.header.right, layout.footer.top + 1},
        kGridLine);
    SYSTEMTIME chosen{};
    chosen.wYear = static_cast<WORD>(m_chosen.year);
    chosen.wMonth = static_cast<WORD>(m_chosen.month);
    chosen.wDay = static_cast<WORD>(m_chosen.day);
    chosen.wDayOfWeek = static_cast<WORD>(dayOfWeek(m_chosen));
    {
        Selection font(dc, m_footer.get());
        SetTextColor(dc, kText);
        const std::u16string date = longDateText(chosen);
        if (layout.beside) {
            // The narrow column takes the date on as many lines as it needs.
            RECT box = layout.footer;
            box.top += kMargin * scale();
            DrawTextW(dc, date.c_str(), static_cast<int>(date.size()), &box,
                      DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        } else {
            drawDisplayText(dc, layout.footer, date, TextAlign::Left);
        }
    }
    RECT button = layout.todayButton;
    InflateRect(&button, 0, -3 * scale());
    fillRect(dc, button, kButton);
    frameRect(dc, button, kButtonEdge);
    Selection font(dc, m_font.get());
    SetTextColor(dc, kChosen);
    drawDisplayText(dc, button, u"Today", TextAlign::Centre);
}

void CalendarWindow::paint(HDC dc, int width, int height) {
    fillRect(dc, RECT{0, 0, width, height}, kBackground);
    SetBkMode(dc, TRANSPARENT);
    const CalendarLayout layout = calendarLayout(width, height, scale());
    paintHeader(dc, layout);
    paintGrid(dc, layout);
    paintFooter(dc, layout);
}

int calendarMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return runProgram(instance, {kCalendarWindowClass, kCalendarTitle},
                      [] { return std::make_unique<CalendarWindow>(); });
}

}  // namespace

RECT CalendarLayout::cell(int index) const {
    const int row = index / 7;
    const int column = index % 7;
    const int width = grid.right - grid.left;
    const int height = grid.bottom - grid.top;
    return RECT{grid.left + width * column / 7, grid.top + height * row / 6,
                grid.left + width * (column + 1) / 7, grid.top + height * (row + 1) / 6};
}

namespace {

// The month's name with its arrows along the top, the date and "Today" along the bottom.
CalendarLayout stackedLayout(int width, int height, int scale) {
    CalendarLayout layout;
    const int header = kHeaderHeight * scale;
    const int arrow = kArrowWidth * scale;
    const int margin = kMargin * scale;
    layout.header = RECT{0, 0, width, header};
    layout.previous = RECT{0, 0, arrow, header};
    layout.next = RECT{width - arrow, 0, width, header};
    layout.title = RECT{arrow, 0, width - arrow, header};
    layout.weekdays = RECT{margin, header, width - margin, header + kWeekdaysHeight * scale};
    const int footerTop =
        std::max(static_cast<int>(layout.weekdays.bottom), height - kFooterHeight * scale);
    layout.grid = RECT{margin, layout.weekdays.bottom, width - margin, footerTop};
    layout.footer = RECT{margin, footerTop, width - margin - kTodayButtonWidth * scale, height};
    layout.todayButton =
        RECT{width - margin - kTodayButtonWidth * scale, footerTop, width - margin, height};
    return layout;
}

// A column on the left: the month's name, the arrows below it, the chosen day, and "Today" at
// the bottom; the day names and the grid fill the height beside it.
CalendarLayout besideLayout(int width, int height, int scale) {
    CalendarLayout layout;
    layout.beside = true;
    const int margin = kMargin * scale;
    const int column = std::max(width * kColumnPercent / 100, kMinColumnWidth * scale);
    const int title = kWeekdaysHeight * scale + margin;
    const int arrows = title + kHeaderHeight * scale;
    layout.header = RECT{0, 0, column, arrows};
    layout.title = RECT{0, 0, column, title};
    layout.previous = RECT{0, title, column / 2, arrows};
    layout.next = RECT{column / 2, title, column, arrows};
    const int buttonTop = std::max(arrows, height - kFooterHeight * scale);
    layout.footer = RECT{margin, arrows, column - margin, buttonTop};
    layout.todayButton = RECT{margin, buttonTop, column - margin, height};
    layout.weekdays = RECT{column + margin, 0, width - margin, kWeekdaysHeight * scale};
    layout.grid = RECT{column + margin, layout.weekdays.bottom, width - margin, height};
    return layout;
}

}  // namespace

CalendarLayout calendarLayout(int width, int height, int scale) {
    const CalendarLayout stacked = stackedLayout(width, height, scale);
    const int weekHeight = (stacked.grid.bottom - stacked.grid.top) / 6;
    if (weekHeight >= kMinWeekHeight * scale || width <= height)
        return stacked;
    return besideLayout(width, height, scale);
}

void registerCalendarProgram() {
    device::registerProgram(kCalendarProgram, calendarMain, kCalendarIcon);
}
