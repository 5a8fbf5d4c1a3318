// The device programs with the keyboard up: each fits above the panel, its buttons and last
// rows within reach of a tap, and takes the whole work area back when the panel goes down;
// after a rotation too, and when the keyboard switches to a face of another height. Screenshots of
// every program above the keyboard on 240x320 and 480x640 are kept in the build folder
// (keyboard-up-*.png) for looking at.
#include <gmock/gmock.h>

#include "KvemuRun.h"
#include "ScreenPicture.h"
#include "TestSkinRun.h"

namespace {

using ::testing::HasSubstr;
using KeyboardUp = KvemuTest;

constexpr uint32_t kTodayMark = 0xC83228;  // the calendar's mark of today
constexpr uint32_t kSelectedRow = 0x003C96;
constexpr uint32_t kBar = 0x002878;  // the title and menu bars' blue

std::string shotName(const std::string& name) {
    return "keyboard-up-" + name + ".png";
}

int countColour(const Picture& picture, uint32_t colour, int top, int bottom) {
    int n = 0;
    for (int y = std::max(0, top); y < bottom && y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            n += picture.at(x, y) == colour;
    }
    return n;
}

Picture picture(const std::string& path) {
    Picture p;
    EXPECT_TRUE(readPng(path, p)) << path;
    return p;
}

// The "front ..." lines of a run, in order.
std::vector<std::string> fronts(const KvemuResult& result) {
    std::vector<std::string> found;
    for (const std::string& line : result.lines()) {
        if (line.rfind("front ", 0) == 0)
            found.push_back(line);
    }
    return found;
}

TEST_F(KeyboardUp, CalendarsTodayButtonIsTappedAboveTheKeyboardAndTheWholeAreaComesBack) {
    // Two months on, today is in no cell; "Today" sits just above the panel's top (214).
    const KvemuResult result =
        run("run calendar.exe\nprint-sip\nprint-front\n"
            "tap 222 40\ntap 222 40\nshot " +
            shot(shotName("calendar-later")) + "\ntap 213 201\nshot " + shot(shotName("calendar")) +
            "\nsip off\nprint-front\nshot " + shot(shotName("calendar-panel-down")) +
            "\nsip on\nprint-front\n" + "print-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr(" visible 1\n"));
    EXPECT_EQ(fronts(result), (std::vector<std::string>{"front CalendarWindow 0 26 240 214",
                                                        "front CalendarWindow 0 26 240 294",
                                                        "front CalendarWindow 0 26 240 214"}));
    EXPECT_LT(countColour(picture(shot(shotName("calendar-later"))), kTodayMark, 26, 214), 50);
    EXPECT_GT(countColour(picture(shot(shotName("calendar"))), kTodayMark, 26, 214), 200);
    // With the panel down the footer is back at the bottom of the work area.
    const Picture down = picture(shot(shotName("calendar-panel-down")));
    EXPECT_GT(countColour(down, kTodayMark, 26, 294), 200);
    // The shell's bars stay where they were: they are not programs' windows.
    EXPECT_EQ(down.at(120, 300), kBar);
    EXPECT_EQ(down.at(120, 5), kBar);
    // The programs heard of each change after it was made.
    EXPECT_THAT(result.out, HasSubstr(" sip Hiding\n"));
    const size_t hiding = result.out.find(" sip Hiding\n");
    const size_t down_told = result.out.find("SPI_SETSIPINFO SIPF_OFF 0 26 240 294\n");
    ASSERT_NE(down_told, std::string::npos);
    EXPECT_LT(hiding, down_told);
    const size_t up_told = result.out.find("SPI_SETSIPINFO SIPF_ON 0 26 240 214\n", down_told);
    EXPECT_NE(up_told, std::string::npos);
}

TEST_F(KeyboardUp, TurnedScreenPutsTheCalendarsMonthBesideTheGridWithTodayInReach) {
    const KvemuResult result =
        run("run calendar.exe\ntap 222 40\ntap 222 40\nrotate\nprint-sip\n"
            "print-front\nshot " +
            shot(shotName("calendar-turned-later")) + "\ntap 64 121\nshot " +
            shot(shotName("calendar-turned")) + "\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    // The keyboard reloaded for the turned screen (its own screen-change notice still works):
    // 320 pixels wide, its top where the calendar ends.
    EXPECT_THAT(result.out, HasSubstr("sip 0 135 322 "));
    EXPECT_EQ(fronts(result), std::vector<std::string>{"front CalendarWindow 0 26 320 134"});
    EXPECT_LT(countColour(picture(shot(shotName("calendar-turned-later"))), kTodayMark, 26, 134),
              50);
    EXPECT_GT(countColour(picture(shot(shotName("calendar-turned"))), kTodayMark, 26, 134), 100);
}

TEST_F(KeyboardUp, ContactsLastRowAndMemorysNewGameAreAboveTheKeyboard) {
    // Above the panel the board is 148 pixels square from (46, 32), "New game" at the right
    // of the status line below it.
    const KvemuResult result =
        run("run contacts.exe\nkey VK_END\nshot " + shot(shotName("contacts")) +
            "\nrun memory.exe\ntap 64 50\ntap 101 50\nshot " + shot(shotName("memory-turned")) +
            "\ntap 196 200\nshot " + shot(shotName("memory")) + "\nprint-front\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    // The last contact is chosen and shown in the row just above the panel.
    const Picture contacts = picture(shot(shotName("contacts")));
    EXPECT_GT(countColour(contacts, kSelectedRow, 196, 212), 1000);
    // Two cards turned, then "New game" deals again: every card shows its back.
    const Picture turned = picture(shot(shotName("memory-turned")));
    const Picture dealt = picture(shot(shotName("memory")));
    EXPECT_NE(turned.at(64, 50), turned.at(138, 124));
    EXPECT_EQ(dealt.at(64, 50), dealt.at(138, 124));
    EXPECT_EQ(dealt.at(101, 50), dealt.at(138, 124));
    EXPECT_EQ(fronts(result), std::vector<std::string>{"front MemoryWindow 0 26 240 214"});
}

TEST_F(KeyboardUp, EveryProgramFitsAboveTheKeyboardOnBothScreensAndWhenTurned) {
    struct Screen {
        std::string size;
        std::string visible;
        std::string turned;
    };
    // The panel is 80 pixels high on 240x320 and 160 on 480x640, above the 26-pixel menu bar.
    const Screen screens[] = {{"240x320", "0 26 240 214", "0 26 320 134"},
                              {"480x640", "0 26 480 454", "0 26 640 294"}};
    const char* programs[][3] = {
        {"notes.exe", "notes", "NotesWindow"},
        {"contacts.exe", "contacts", "ContactsWindow"},
        {"calendar.exe", "calendar", "CalendarWindow"},
        {"puzzle.exe", "puzzle", "PuzzleWindow"},
        {"memory.exe", "memory", "MemoryWindow"},
        {"peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#Main_Contents", "help",
         "HelpWindow"},
    };
    for (const Screen& screen : screens) {
        std::string script;
        std::vector<std::string> expected;
        for (const auto& program : programs) {
            const std::string name = std::string(program[1]) + "-" + screen.size;
            script += std::string("run ") + program[0] + "\nprint-front\nshot " +
                      shot(shotName(name)) + "\nrotate\nprint-front\nshot " +
                      shot(shotName(name + "-turned")) + "\nrotate\n";
            expected.push_back(std::string("front ") + program[2] + " " + screen.visible);
            expected.push_back(std::string("front ") + program[2] + " " + screen.turned);
        }
        const KvemuResult result = run(script, "--screen " + screen.size);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(fronts(result), expected) << screen.size;
    }
}

using KeyboardOfTwoHeights = TestSkinKvemuTest;

// A face `height` pixels high: a key at its right half that goes to face `target`.
skintest::Layout faceGoingTo(int target, int height) {
    skintest::Layout layout;
    layout.height = height;
    layout.picture = skintest::bmpPicture(240, height, 0xC0C0C0);
    layout.rows = {
        {skintest::charKey(u'a', 0x41, RECT{0, 0, 120, height}),
         skintest::Key{0x0002, static_cast<WCHAR>(target), 0, RECT{120, 0, 240, height}}}};
    return layout;
}

TEST_F(KeyboardOfTwoHeights, ProgramFollowsTheKeyboardWhenItsFaceChangesHeight) {
    useTestSkin();
    writeTestSkin({faceGoingTo(1, 80), faceGoingTo(0, 120)});
    // The 80-pixel face docks at 215; the 120-pixel one at 175.
    const KvemuResult result =
        run("run calendar.exe\nprint-front\ntap 180 255\nprint-sip\n"
            "print-front\ntap 180 235\nprint-front\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr("layout 1 visible 1\n"));
    EXPECT_EQ(fronts(result), (std::vector<std::string>{"front CalendarWindow 0 26 240 214",
                                                        "front CalendarWindow 0 26 240 174",
                                                        "front CalendarWindow 0 26 240 214"}));
}

}  // namespace
