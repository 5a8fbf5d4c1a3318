// The device programs as processes on a test device: each one's window, title and icons, one
// instance each, its window above a test input panel and following it up and down, and what the
// stylus and keys do in Contacts, Calendar, the two games and the help viewer, seen on the
// screen and in the help page's text.
#include <device/Clock.h>
#include <device/Display.h>
#include <device/Input.h>
#include <device/Programs.h>
#include <device/Screen.h>
#include <windows.h>

#include <gmock/gmock.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "DeviceTest.h"
#include "TestInputPanelHost.h"
#include "programs/DevicePrograms.h"
#include "programs/calendar/Calendar.h"
#include "programs/calendar/MonthGrid.h"
#include "programs/contacts/ContactList.h"
#include "programs/contacts/Contacts.h"
#include "programs/games/GameWindow.h"
#include "programs/games/Games.h"
#include "programs/help/Help.h"
#include "programs/help/HtmlReader.h"

namespace {

// The page text, for the failure message.
::testing::AssertionResult startsWith(const std::u16string& text, std::u16string_view prefix) {
    if (text.rfind(prefix, 0) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the text is: " << platform::toUtf8(text);
}
::testing::AssertionResult contains(const std::u16string& text, std::u16string_view part) {
    if (text.find(part) != std::u16string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the text is: " << platform::toUtf8(text);
}

COLORREF pixel(int x, int y) {
    const device::ScreenImage screen = device::copyScreen();
    const uint32_t p = screen.pixels[static_cast<size_t>(y * screen.width + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// How many pixels of a rectangle of the screen have exactly one colour.
int countColour(const RECT& r, COLORREF colour) {
    const device::ScreenImage screen = device::copyScreen();
    int n = 0;
    for (int y = std::max(0, static_cast<int>(r.top)); y < r.bottom && y < screen.height; ++y) {
        for (int x = std::max(0, static_cast<int>(r.left)); x < r.right && x < screen.width; ++x) {
            const uint32_t p = screen.pixels[static_cast<size_t>(y * screen.width + x)];
            n += RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == colour;
        }
    }
    return n;
}

POINT centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class DevicePrograms : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        registerDevicePrograms();
    }
    void TearDown() override {
        for (HWND w : m_windows) {
            if (IsWindow(w))
                PostMessageW(w, WM_CLOSE, 0, 0);
        }
        for (HANDLE p : m_processes) {
            EXPECT_EQ(WaitForSingleObject(p, 10000), WAIT_OBJECT_0);
            CloseHandle(p);
        }
        DeviceTest::TearDown();
    }

    // Lets every device thread handle what it has been sent.
    static void settle() { device::advanceClock(1); }

    // Starts a command line; returns the window of `windowClass` it shows.
    HWND start(const std::u16string& commandLine, const WCHAR* windowClass) {
        std::vector<WCHAR> line(commandLine.begin(), commandLine.end());
        line.push_back(0);
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, nullptr, &info));
        if (info.hProcess)
            m_processes.push_back(info.hProcess);
        if (info.hThread)
            CloseHandle(info.hThread);
        settle();
        HWND window = FindWindowW(windowClass, nullptr);
        if (window)
            m_windows.insert(window);
        return window;
    }

    static void tap(POINT p) {
        device::stylusDown(p.x, p.y);
        settle();
        device::stylusUp(p.x, p.y);
        settle();
    }
    static void press(UINT vk) {
        device::keyDown(vk);
        device::keyUp(vk);
        settle();
    }

    std::vector<HANDLE> m_processes;
    std::set<HWND> m_windows;
};

struct Program {
    const char16_t* exe;
    const WCHAR* windowClass;
    const WCHAR* title;
};
const Program kPrograms[] = {
    {u"contacts.exe", kContactsWindowClass, kContactsTitle},
    {u"calendar.exe", kCalendarWindowClass, kCalendarTitle},
    {u"puzzle.exe", kPuzzleWindowClass, kPuzzleTitle},
    {u"memory.exe", kMemoryWindowClass, kMemoryTitle},
    {u"peghelp.exe", kHelpWindowClass, kHelpTitle},
};

RECT windowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

TEST_F(DevicePrograms, EachProgramShowsItsTitledWindowOverTheWorkAreaAndHasItsIcons) {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    std::set<WORD> icons = {device::programIconId(u"notes.exe")};
    for (const Program& p : kPrograms) {
        HWND w = start(p.exe, p.windowClass);
        ASSERT_NE(w, nullptr) << platform::toUtf8(p.exe);
        WCHAR title[64] = {};
        GetWindowTextW(w, title, 64);
        EXPECT_EQ(std::u16string(title), p.title);
        const RECT r = windowRect(w);
        EXPECT_EQ(r.left, area.left);
        EXPECT_EQ(r.top, area.top);
        EXPECT_EQ(r.right, area.right);
        EXPECT_EQ(r.bottom, area.bottom);
        EXPECT_EQ(GetForegroundWindow(), w);
        // Its own icon group with both sizes, from the module the programs run in.
        const WORD icon = device::programIconId(std::u16string(u"\\Windows\\") + p.exe);
        EXPECT_NE(icon, 0);
        icons.insert(icon);
        for (int size : {16, 32}) {
            HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                      size, size, 0);
            ASSERT_NE(image, nullptr) << platform::toUtf8(p.exe) << " " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(static_cast<HICON>(image), &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(static_cast<HICON>(image));
        }
    }
    EXPECT_EQ(icons.size(), 6u);  // Notes and the five: every program its own
}

// What the host's broadcast makes a program do: its window follows the visible desktop.
void panelChanged(TestInputPanelHost& host, HWND program, bool shown) {
    host.shown = shown;
    SendMessageW(program, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    device::advanceClock(1);  // the program paints its new layout
}

TEST_F(DevicePrograms, EachProgramFitsAboveTheInputPanelAndFollowsItUpAndDown) {
    TestInputPanelHost host(80);
    const RECT above{0, 0, 240, 240};
    const RECT whole{0, 0, 240, 320};
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(platform::toUtf8(p.exe));
        HWND w = start(p.exe, p.windowClass);
        ASSERT_NE(w, nullptr);
        RECT r = windowRect(w);
        EXPECT_TRUE(EqualRect(&r, &above));
        panelChanged(host, w, false);
        r = windowRect(w);
        EXPECT_TRUE(EqualRect(&r, &whole));
        // Other settings leave the window as it is.
        host.shown = true;
        SendMessageW(w, WM_SETTINGCHANGE, 0, 0);
        r = windowRect(w);
        EXPECT_TRUE(EqualRect(&r, &whole));
        panelChanged(host, w, true);
        r = windowRect(w);
        EXPECT_TRUE(EqualRect(&r, &above));
    }
    // Calendar's "Today" is above the panel and answers a tap there.
    HWND calendar = start(u"calendar.exe", kCalendarWindowClass);
    const CalendarLayout layout = calendarLayout(240, 240, 1);
    EXPECT_EQ(layout.todayButton.bottom, 240);
    tap(centre(layout.next));
    tap(centre(layout.next));
    const RECT grid = layout.grid;
    EXPECT_LT(countColour(grid, kCalendarTodayColour), 200);
    tap(centre(layout.todayButton));
    EXPECT_GT(countColour(grid, kCalendarTodayColour), 200);
    EXPECT_NE(calendar, nullptr);
}

TEST_F(DevicePrograms, ContactsKeepTheChosenRowInViewAndTheirDetailsScrollAboveThePanel) {
    std::vector<Contact> many;
    for (int i = 10; i < 40; ++i)
        many.push_back({u"Person " + platform::fromUtf8(std::to_string(i)),
                        u"555 01" + platform::fromUtf8(std::to_string(i)), u"p@example.org"});
    writeDeviceFile(kContactsFile, contactsFileText(many));
    TestInputPanelHost host(80);
    host.shown = false;
    HWND w = start(u"contacts.exe", kContactsWindowClass);
    ASSERT_NE(w, nullptr);
    // The last contact at the bottom of the whole screen; the panel comes up over it and the
    // list scrolls to keep it in view above the panel.
    press(VK_END);
    const int row = kContactRowHeight;
    EXPECT_GT(countColour(RECT{0, 320 - row, 240, 320}, kContactsSelectedColour), 1000);
    panelChanged(host, w, true);
    EXPECT_GT(countColour(RECT{0, 240 - row, 240, 240}, kContactsSelectedColour), 1000);

    // With a tall panel the details do not fit: they scroll under the back row, which stays.
    MoveWindow(host.sipWindow(), 0, 90, 240, 230, TRUE);
    panelChanged(host, w, true);
    press(VK_RETURN);
    const RECT band{0, kContactBackRowHeight, 240, kContactBackRowHeight + 30};
    EXPECT_GT(countColour(band, kContactsBandColour), 3000);
    const COLORREF rule = pixel(120, kContactBackRowHeight - 1);
    for (int i = 0; i < 4; ++i)
        press(VK_DOWN);
    EXPECT_LT(countColour(band, kContactsBandColour), 1000);
    EXPECT_EQ(pixel(120, kContactBackRowHeight - 1), rule);
    press(VK_UP);
    press(VK_UP);
    press(VK_UP);
    press(VK_UP);
    EXPECT_GT(countColour(band, kContactsBandColour), 3000);
    // Dragging the details does not go back; a tap on the back row does.
    device::stylusDown(120, 80);
    settle();
    device::stylusMove(120, 40);
    settle();
    device::stylusUp(120, 10);
    settle();
    EXPECT_LT(countColour(band, kContactsBandColour), 3000);
    tap({30, kContactBackRowHeight / 2});
    EXPECT_EQ(countColour(band, kContactsBandColour), 0);
}

TEST_F(DevicePrograms, StartingAProgramAgainBringsTheRunningOneToTheFrontAndEnds) {
    HWND calendar = start(u"calendar.exe", kCalendarWindowClass);
    HWND puzzle = start(u"puzzle.exe", kPuzzleWindowClass);
    ASSERT_TRUE(calendar && puzzle);
    EXPECT_EQ(GetForegroundWindow(), puzzle);
    EXPECT_EQ(start(u"\\Windows\\calendar.exe", kCalendarWindowClass), calendar);
    EXPECT_EQ(GetForegroundWindow(), calendar);
    HANDLE second = m_processes.back();
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0u);
    // Closing the window ends the program.
    PostMessageW(calendar, WM_CLOSE, 0, 0);
    settle();
    EXPECT_EQ(WaitForSingleObject(m_processes.front(), 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsWindow(calendar));
}

TEST_F(DevicePrograms, ContactsListOpensDetailsScrollsAndSaysWhenItHasNoFile) {
    HWND w = start(u"contacts.exe", kContactsWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    // Without the file: no rows, no selection.
    EXPECT_EQ(countColour(area, kContactsSelectedColour), 0);
    PostMessageW(w, WM_CLOSE, 0, 0);
    settle();

    // More contacts than the screen shows.
    std::vector<Contact> many;
    for (int i = 10; i < 40; ++i)
        many.push_back({u"Person " + platform::fromUtf8(std::to_string(i)), u"555", u""});
    writeDeviceFile(kContactsFile, contactsFileText(many));
    w = start(u"contacts.exe", kContactsWindowClass);
    ASSERT_NE(w, nullptr);
    const int row = kContactRowHeight;
    const RECT firstRow{area.left, area.top, area.right, area.top + row};
    // The first contact is chosen at the start.
    EXPECT_GT(countColour(firstRow, kContactsSelectedColour), 1000);

    // Tapping the second row shows that contact's details; the back row returns.
    const RECT band{area.left, area.top + kContactBackRowHeight + 2, area.right,
                    area.top + kContactBackRowHeight + 30};
    EXPECT_EQ(countColour(band, kContactsBandColour), 0);
    tap({area.left + 60, area.top + row + row / 2});
    EXPECT_GT(countColour(band, kContactsBandColour), 3000);
    tap({area.left + 30, area.top + kContactBackRowHeight / 2});
    EXPECT_EQ(countColour(band, kContactsBandColour), 0);
    const RECT secondRow{area.left, area.top + row, area.right, area.top + 2 * row};
    EXPECT_GT(countColour(secondRow, kContactsSelectedColour), 1000);

    // Keys: Down chooses the next contact, Enter opens it, Escape returns.
    press(VK_DOWN);
    const RECT thirdRow{area.left, area.top + 2 * row, area.right, area.top + 3 * row};
    EXPECT_GT(countColour(thirdRow, kContactsSelectedColour), 1000);
    press(VK_RETURN);
    EXPECT_GT(countColour(band, kContactsBandColour), 3000);
    press(VK_ESCAPE);
    EXPECT_EQ(countColour(band, kContactsBandColour), 0);

    // Dragging the list up scrolls it and opens nothing.
    device::stylusDown(area.left + 60, area.top + 5 * row);
    settle();
    device::stylusMove(area.left + 60, area.top + 3 * row);
    settle();
    device::stylusUp(area.left + 60, area.top + 3 * row);
    settle();
    EXPECT_EQ(countColour(band, kContactsBandColour), 0);
    EXPECT_GT(countColour(firstRow, kContactsSelectedColour), 1000);  // the third row moved up
    EXPECT_EQ(countColour(thirdRow, kContactsSelectedColour), 0);
}

TEST_F(DevicePrograms, CalendarMarksTodayMovesByMonthAndFollowsMidnight) {
    SYSTEMTIME now{};
    now.wYear = 2026;
    now.wMonth = 2;
    now.wDay = 11;
    now.wDayOfWeek = 3;
    now.wHour = 23;
    now.wMinute = 59;
    now.wSecond = 50;
    device::setDeviceLocalTime(now);
    HWND w = start(u"calendar.exe", kCalendarWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    const CalendarLayout layout = calendarLayout(area.right - area.left, area.bottom - area.top, 1);
    auto onScreen = [&](RECT r) {
        OffsetRect(&r, area.left, area.top);
        return r;
    };
    auto todayMarked = [&](int cell) {
        return countColour(onScreen(layout.cell(cell)), kCalendarTodayColour) > 200;
    };
    const RECT grid = onScreen(layout.grid);
    // 1 February 2026 is a Sunday: the 11th is the grid's eleventh cell.
    EXPECT_TRUE(todayMarked(10));
    EXPECT_FALSE(todayMarked(11));

    tap(centre(onScreen(layout.next)));
    EXPECT_LT(countColour(grid, kCalendarTodayColour), 200);  // March shows no 11 February
    tap(centre(onScreen(layout.previous)));
    EXPECT_TRUE(todayMarked(10));
    press(VK_PRIOR);
    press(VK_PRIOR);
    EXPECT_LT(countColour(grid, kCalendarTodayColour), 200);
    tap(centre(onScreen(layout.todayButton)));
    EXPECT_TRUE(todayMarked(10));

    // Past midnight the mark moves to the new day.
    device::advanceClock(40000);
    settle();
    EXPECT_FALSE(todayMarked(10));
    EXPECT_TRUE(todayMarked(11));
}

// The cell of the puzzle's gap, -1 when none shows.
int gapCell(const GameLayout& layout) {
    for (int i = 0; i < 16; ++i) {
        const POINT c = centre(layout.cell(i));
        if (pixel(c.x, c.y) == kPuzzleGapColour)
            return i;
    }
    return -1;
}

TEST_F(DevicePrograms, PuzzleTilesSlideIntoTheGapWhenTappedOrPushedByKeys) {
    HWND w = start(u"puzzle.exe", kPuzzleWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    GameLayout layout = gameLayout(area.right - area.left, area.bottom - area.top, 1);
    OffsetRect(&layout.board, area.left, area.top);
    const int gap = gapCell(layout);
    ASSERT_GE(gap, 0);
    // A tile beside the gap moves into it; one in neither its row nor its column does not.
    const int beside = gap % 4 > 0 ? gap - 1 : gap + 1;
    tap(centre(layout.cell(beside)));
    EXPECT_EQ(gapCell(layout), beside);
    const int diagonal = (beside / 4 > 0 ? beside - 4 : beside + 4) + (beside % 4 > 0 ? -1 : 1);
    tap(centre(layout.cell(diagonal)));
    EXPECT_EQ(gapCell(layout), beside);
    // Up moves the tile below the gap up.
    if (beside / 4 < 3) {
        press(VK_UP);
        EXPECT_EQ(gapCell(layout), beside + 4);
    } else {
        press(VK_DOWN);
        EXPECT_EQ(gapCell(layout), beside - 4);
    }
}

TEST_F(DevicePrograms, MemoryCardsTurnBackAfterAMismatchAndAWonGameSaysSo) {
    HWND w = start(u"memory.exe", kMemoryWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    GameLayout layout = gameLayout(area.right - area.left, area.bottom - area.top, 1);
    OffsetRect(&layout.board, area.left, area.top);
    auto face = [&](int card) {
        const POINT c = centre(layout.cell(card));
        return pixel(c.x, c.y);
    };
    const COLORREF back = face(0);
    for (int i = 1; i < 16; ++i)
        ASSERT_EQ(face(i), back);

    // Every card's symbol, learnt two at a time; a mismatch turns back after its pause.
    std::map<COLORREF, std::vector<int>> symbols;
    std::set<int> matched;
    for (int i = 0; i < 16; i += 2) {
        tap(centre(layout.cell(i)));
        tap(centre(layout.cell(i + 1)));
        const COLORREF a = face(i);
        const COLORREF b = face(i + 1);
        EXPECT_NE(a, back);
        EXPECT_NE(b, back);
        symbols[a].push_back(i);
        symbols[b].push_back(i + 1);
        if (a == b) {
            matched.insert(i);
            matched.insert(i + 1);
            continue;
        }
        device::advanceClock(kMemoryMismatchMs);
        settle();
        EXPECT_EQ(face(i), back);
        EXPECT_EQ(face(i + 1), back);
    }
    ASSERT_EQ(symbols.size(), 8u);
    EXPECT_EQ(countColour(layout.board, kGameWonColour), 0);
    for (const auto& [colour, cards] : symbols) {
        ASSERT_EQ(cards.size(), 2u);
        if (matched.count(cards[0]))
            continue;
        tap(centre(layout.cell(cards[0])));
        tap(centre(layout.cell(cards[1])));
    }
    EXPECT_GT(countColour(layout.board, kGameWonColour), 1000);
    // A new game deals again, face down.
    OffsetRect(&layout.newGame, area.left, area.top);
    tap(centre(layout.newGame));
    EXPECT_EQ(countColour(layout.board, kGameWonColour), 0);
    EXPECT_EQ(face(5), back);
}

class HelpViewer : public DevicePrograms {
protected:
    void SetUp() override {
        DevicePrograms::SetUp();
        std::string longTopic;
        for (int i = 0; i < 60; ++i)
            longTopic += "<p>Line " + std::to_string(i) + " of the long topic.</p>";
        writeDeviceFile(u"\\Help\\test.htm",
                        "<html><body><h2><a name=\"Main_Contents\"></a>Contents</h2>"
                        "<p>The contents.</p>"
                        "<h2><a name=\"Two\"></a>Two</h2><p><a href=\"#Three\">Go to three</a>"
                        "</p><p>More of two.</p>"
                        "<h2><a name=\"Three\"></a>Three</h2><p>The third topic.</p>"
                        "<h2><a name=\"Long\"></a>Long</h2>" +
                            longTopic + "</body></html>");
    }
    static std::u16string pageText() {
        HWND view = device::foregroundFocusWindow();
        std::vector<WCHAR> text(8192);
        const LRESULT n =
            SendMessageW(view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        return std::u16string(text.data(), static_cast<size_t>(n));
    }
};

TEST_F(HelpViewer, ShowsTheTopicOfItsCommandLineAndSaysWhatIsMissing) {
    ASSERT_NE(start(u"peghelp.exe file:\\Help\\test.htm#Two", kHelpWindowClass), nullptr);
    EXPECT_EQ(pageText(), u"Two\r\nGo to three\r\nMore of two.\r\n");

    // A viewer started again shows its topic in the running one.
    start(u"peghelp.exe file:\\Help\\test.htm#Three", kHelpWindowClass);
    EXPECT_EQ(pageText(), u"Three\r\nThe third topic.\r\n");
    start(u"peghelp.exe file:\\Help\\test.htm#Nowhere", kHelpWindowClass);
    EXPECT_TRUE(startsWith(pageText(),
                           u"The topic \u201CNowhere\u201D is not in this help file.\r\n"
                           u"Contents\r\n"));
    start(u"peghelp.exe file:\\Help\\missing.htm#Two", kHelpWindowClass);
    EXPECT_TRUE(contains(pageText(), u"The help file \\Help\\missing.htm was not found."));
    start(u"peghelp.exe file:#BUTTON_TOPIC3", kHelpWindowClass);
    EXPECT_TRUE(startsWith(pageText(), u"No help file\r\n"));
    writeDeviceFile(u"\\Help\\huge.htm", std::string(kMaxHelpFileBytes + 1, 'x'));
    start(u"peghelp.exe file:\\Help\\huge.htm", kHelpWindowClass);
    EXPECT_TRUE(startsWith(pageText(), u"Help file too large\r\n"));
    int viewers = 0;
    EnumWindows(
        [](HWND w, LPARAM count) {
            WCHAR name[32] = {};
            GetClassNameW(w, name, 32);
            if (std::u16string(name) == kHelpWindowClass)
                ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&viewers));
    EXPECT_EQ(viewers, 1);
}

TEST_F(HelpViewer, LinksContentsAndBackMoveBetweenTopics) {
    HWND w = start(u"peghelp.exe file:\\Help\\test.htm#Two", kHelpWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    // The link is the first line below the heading: tapped down the page's left edge, the first
    // tap that reaches it leads to its topic.
    for (int y = area.top + kHelpToolbarHeight + 2; y < area.top + 120; y += 3) {
        tap({area.left + 12, y});
        if (pageText() != u"Two\r\nGo to three\r\nMore of two.\r\n")
            break;
    }
    EXPECT_EQ(pageText(), u"Three\r\nThe third topic.\r\n");
    // "Contents", then back twice, then back with nothing left: the page stays.
    tap({area.left + 70 + 35, area.top + kHelpToolbarHeight / 2});
    EXPECT_EQ(pageText(), u"Contents\r\nThe contents.\r\n");
    tap({area.left + 20, area.top + kHelpToolbarHeight / 2});
    EXPECT_EQ(pageText(), u"Three\r\nThe third topic.\r\n");
    press(VK_ESCAPE);
    EXPECT_EQ(pageText(), u"Two\r\nGo to three\r\nMore of two.\r\n");
    press(VK_ESCAPE);
    EXPECT_EQ(pageText(), u"Two\r\nGo to three\r\nMore of two.\r\n");
}

TEST_F(HelpViewer, LongTopicScrollsWithKeysAndTheStylus) {
    HWND w = start(u"peghelp.exe file:\\Help\\test.htm#Long", kHelpWindowClass);
    ASSERT_NE(w, nullptr);
    const RECT area = windowRect(w);
    const RECT page{area.left, area.top + kHelpToolbarHeight, area.right - 8, area.bottom};
    auto snapshot = [&] {
        const device::ScreenImage s = device::copyScreen();
        std::vector<uint32_t> rows;
        for (int y = page.top; y < page.bottom; ++y)
            rows.insert(rows.end(), s.pixels.begin() + y * s.width + page.left,
                        s.pixels.begin() + y * s.width + page.right);
        return rows;
    };
    const auto top = snapshot();
    press(VK_NEXT);
    const auto paged = snapshot();
    EXPECT_NE(paged, top);
    press(VK_HOME);
    EXPECT_EQ(snapshot(), top);
    // Dragging up by some lines moves the page; a tap there follows no link.
    device::stylusDown(area.left + 100, area.bottom - 20);
    settle();
    device::stylusMove(area.left + 100, area.bottom - 120);
    settle();
    device::stylusUp(area.left + 100, area.bottom - 120);
    settle();
    EXPECT_NE(snapshot(), top);
    EXPECT_TRUE(startsWith(pageText(), u"Long\r\nLine 0 of the long topic."));
    press(VK_END);
    press(VK_ESCAPE);  // nothing to go back to
    EXPECT_TRUE(startsWith(pageText(), u"Long\r\n"));
}

}  // namespace
