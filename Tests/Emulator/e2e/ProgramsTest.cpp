// The device programs in kvemu: started by name and from the Today screen's shortcuts, each with
// its titled window; the help viewer at a topic of the default skin's help file; screenshots of
// every program kept in the build folder (programs-*.png) for looking at.
#include <gmock/gmock.h>

#include "KvemuRun.h"

namespace {

using ::testing::HasSubstr;
using Programs = KvemuTest;

std::string shotName(const std::string& name) {
    return "programs-" + name + ".png";
}

TEST_F(Programs, EachProgramStartsWithItsTitledWindowInFront) {
    const std::string script =
        "sip off\n"
        "run contacts.exe\nshot " +
        shot(shotName("contacts")) + "\ntap 60 30\nshot " + shot(shotName("contacts-details")) +
        "\n"
        "run calendar.exe\nshot " +
        shot(shotName("calendar")) +
        "\n"
        "run puzzle.exe\ntap 120 120\nshot " +
        shot(shotName("puzzle")) +
        "\n"
        "run memory.exe\ntap 40 60\ntap 100 60\nshot " +
        shot(shotName("memory")) +
        "\n"
        "run peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#Main_Contents\n"
        "shot " +
        shot(shotName("help-contents")) + "\nprint-windows\n";
    const KvemuResult result = run(script);
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr("\tcontacts.exe\tContactsWindow\t1\tContacts\n"));
    EXPECT_THAT(result.out, HasSubstr("\tcalendar.exe\tCalendarWindow\t1\tCalendar\n"));
    EXPECT_THAT(result.out, HasSubstr("\tpuzzle.exe\tPuzzleWindow\t1\tPuzzle\n"));
    EXPECT_THAT(result.out, HasSubstr("\tmemory.exe\tMemoryWindow\t1\tMemory\n"));
    EXPECT_THAT(result.out, HasSubstr("\tpeghelp.exe\tHelpWindow\t1\tHelp\n"));
    for (const char* name :
         {"contacts", "contacts-details", "calendar", "puzzle", "memory", "help-contents"})
        EXPECT_TRUE(std::filesystem::exists(shot(shotName(name)))) << name;
}

TEST_F(Programs, HelpViewerShowsTheTopicOfItsCommandLine) {
    const KvemuResult result =
        run("run peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC3\n"
            "shot " +
            shot(shotName("help-topic3")) +
            "\nprint-text\n"
            "run peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC5\n"
            "print-text\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Digits and symbols\\r\\nThe first face has the Farsi digits", 0), 0u)
        << lines[0];
    EXPECT_EQ(lines[0].find("Calculator"), std::string::npos);
    EXPECT_EQ(lines[1].rfind("Task switcher\\r\\nEach running program is listed", 0), 0u)
        << lines[1];
    // The second viewer handed its topic to the first and ended.
    EXPECT_THAT(result.out,
                HasSubstr(" exit peghelp.exe file:\\\\Program Files\\\\Kelvo\\\\Skins\\\\Kelvo.htm"
                          "#BUTTON_TOPIC5, code 0\n"));
}

TEST_F(Programs, TodayScreenListsTheProgramsAndTheirShortcutsStartThem) {
    // Start shows the Today screen: Calendar, Contacts and Notes, 22 pixels apart from 64
    // pixels below the work area's top.
    const KvemuResult result = run("sip off\ntap 20 307\nshot " + shot(shotName("today")) +
                                   "\ntap 30 101\nprint-windows\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr("\tcalendar.exe\tCalendarWindow\t1\tCalendar\n"));
}

TEST_F(Programs, ProgramsFitALargeScreen) {
    const KvemuResult result =
        run("sip off\nrun peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC1\n"
            "shot " +
                shot(shotName("help-480x640")) + "\nrun calendar.exe\nshot " +
                shot(shotName("calendar-480x640")) + "\nrun contacts.exe\nshot " +
                shot(shotName("contacts-480x640")) + "\nprint-windows\n",
            "--screen 480x640");
    ASSERT_EQ(result.status, 0) << result.errors;
    // The programs fill the work area between the bars.
    EXPECT_THAT(result.out, HasSubstr("\tContactsWindow\t1\tContacts\n"));
    EXPECT_TRUE(std::filesystem::exists(shot(shotName("help-480x640"))));
}

}  // namespace
