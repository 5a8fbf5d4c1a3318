// The keyboard's faces acting on the device's programs, tapped as a user taps them: the settings
// key starts KvHelper, which creates the keyboard in its own process; the task face brings Notes
// to the front and closes the Calendar; the launcher starts a game; the help keys open the help
// viewer at their topics; and KvHelper opening a help file by its type. Screenshots of the faces
// are kept in the build folder (faces-*.png).
#include <gmock/gmock.h>

#include <cstdio>

#include "KvemuRun.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Key flags and actions as the skin stores them.
constexpr unsigned kGoto = 0x0002, kTasks = 0x0080, kLaunch = 0x0200;
constexpr unsigned kMenuFace = 6, kTaskFace = 9, kProgramsFace = 10, kGamesFace = 11;

std::string shotName(const std::string& name) {
    return "faces-" + name + ".png";
}

class Faces : public KvemuTest {
protected:
    void SetUp() override {
        KvemuTest::SetUp();
        KvemuResult result = run("print-sip\n");
        ASSERT_EQ(std::sscanf(result.out.c_str(), "sip %d %d", &m_left, &m_top), 2) << result.out;
    }

    // A tap on the key of `layout` with the flags, action and argument given.
    std::string tap(int layout, unsigned flags, unsigned vk, unsigned param) {
        const KeyTable table = kvskinKeys("240x320", layout);
        const TableKey* key = table.function(flags, vk, param);
        EXPECT_NE(key, nullptr) << "layout " << layout << " has no key " << flags << "/" << vk
                                << "/" << param;
        if (key == nullptr)
            return "";
        return "tap " + std::to_string(m_left + key->centreX()) + " " +
               std::to_string(m_top + key->centreY()) + "\n";
    }
    // From the first Farsi face through the menu to `face`.
    std::string toFace(unsigned face) {
        return tap(0, kGoto, 0, kMenuFace) + tap(kMenuFace, kGoto, 0, face);
    }

    int m_left = 0, m_top = 0;
};

// The top-level windows in front-to-back order, as print-windows lists them: the class names.
std::vector<std::string> windowClasses(const std::string& report) {
    std::vector<std::string> classes;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string handle, process, program, className;
        if (std::getline(fields, handle, '\t') && handle.rfind("0x", 0) == 0 &&
            std::getline(fields, process, '\t') && std::getline(fields, program, '\t') &&
            std::getline(fields, className, '\t'))
            classes.push_back(className);
    }
    return classes;
}

// A text as print-log writes it: each backslash doubled.
std::string asLogged(const std::string& text) {
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

size_t positionOf(const std::vector<std::string>& classes, const std::string& name) {
    return static_cast<size_t>(std::find(classes.begin(), classes.end(), name) - classes.begin());
}

TEST_F(Faces, SettingsKeyStartsKvHelperWhichCreatesTheKeyboardInItsOwnProcess) {
    const KvemuResult result = run("print-log\n" + tap(0, kLaunch, 3, 0) + "print-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string after = result.out.substr(result.out.rfind(" process notes.exe\n"));
    EXPECT_THAT(after, HasSubstr(" process KvHelper.exe SETTINGS\n"));
    EXPECT_THAT(after, HasSubstr(" com KvHelper.exe creates "
                                 "{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}: 0x00000000\n"));
}

TEST_F(Faces, TaskFaceBringsNotesToTheFrontAndClosesTheCalendar) {
    const std::string script =
        "run calendar.exe\n" + toFace(kTaskFace) + "shot " + shot(shotName("tasks")) +
        "\nprint-windows\n" + tap(kTaskFace, kTasks, 1, 1) + "print-windows\nshot " +
        shot(shotName("tasks-notes")) + "\n" + tap(kTaskFace, kTasks, 0, 0) +
        "print-windows\nshot " + shot(shotName("tasks-closed")) + "\nprint-log\n";
    const KvemuResult result = run(script);
    ASSERT_EQ(result.status, 0) << result.errors;
    // Three reports of the windows, split where each begins.
    std::vector<std::string> reports;
    size_t start = 0;
    for (size_t at;
         (at = result.out.find("explorer.exe\tKvMenuBar", start + 1)) != std::string::npos;
         start = at)
        reports.push_back(result.out.substr(start, at - start));
    reports.push_back(result.out.substr(start));
    ASSERT_GE(reports.size(), 3u) << result.out;
    auto before = windowClasses(reports[reports.size() - 3]);
    auto front = windowClasses(reports[reports.size() - 2]);
    auto closed = windowClasses(reports[reports.size() - 1]);
    // Calendar was in front of Notes; the task face's second title brings Notes before it.
    EXPECT_LT(positionOf(before, "CalendarWindow"), positionOf(before, "NotesWindow"));
    EXPECT_LT(positionOf(front, "NotesWindow"), positionOf(front, "CalendarWindow"));
    // The first close key closes the Calendar, which was the first task.
    EXPECT_EQ(positionOf(closed, "CalendarWindow"), closed.size());
    EXPECT_LT(positionOf(closed, "NotesWindow"), closed.size());
    EXPECT_THAT(result.out, HasSubstr(" exit calendar.exe, code 0\n"));
    for (const char* name : {"tasks", "tasks-notes", "tasks-closed"})
        EXPECT_TRUE(std::filesystem::exists(shot(shotName(name)))) << name;
}

TEST_F(Faces, LauncherStartsAGameThroughKvHelper) {
    const std::string script = toFace(kProgramsFace) + "shot " + shot(shotName("programs")) + "\n" +
                               tap(kProgramsFace, kGoto, 0, kGamesFace) + "shot " +
                               shot(shotName("games")) + "\n" + tap(kGamesFace, kLaunch, 1, 1) +
                               "print-windows\nprint-log\n";
    const KvemuResult result = run(script);
    ASSERT_EQ(result.status, 0) << result.errors;
    // The games folder lists Memory, then Puzzle.
    EXPECT_THAT(result.out, HasSubstr(asLogged(" process KvHelper.exe \\Windows\\Start "
                                               "Menu\\Programs\\Games\\Puzzle.lnk\n")));
    EXPECT_THAT(result.out, HasSubstr(" process puzzle.exe\n"));
    EXPECT_THAT(result.out, HasSubstr("\tpuzzle.exe\tPuzzleWindow\t1\tPuzzle\n"));
    EXPECT_THAT(result.out, Not(HasSubstr(" beep ")));
    for (const char* name : {"programs", "games"})
        EXPECT_TRUE(std::filesystem::exists(shot(shotName(name)))) << name;
}

TEST_F(Faces, HelpKeysOpenTheHelpViewerAtTheirTopics) {
    // The Farsi face's help (topic 1), the Latin face's (topic 2), then the menu's (contents).
    const std::string help = "peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm";
    const KvemuResult result =
        run(tap(0, kLaunch, 5, 1) + "print-log\n" + tap(0, kGoto, 0, 2) + tap(2, kLaunch, 5, 2) +
            "print-log\n" + tap(2, kGoto, 0, kMenuFace) + tap(kMenuFace, kLaunch, 5, 0) +
            "print-log\nprint-windows\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr(asLogged(" process " + help + "#BUTTON_TOPIC1\n")));
    EXPECT_THAT(result.out, HasSubstr(asLogged(" process " + help + "#BUTTON_TOPIC2\n")));
    EXPECT_THAT(result.out, HasSubstr(asLogged(" process " + help + "#Main_Contents\n")));
    EXPECT_THAT(result.out, HasSubstr("\tpeghelp.exe\tHelpWindow\t1\tHelp\n"));
}

TEST_F(Faces, KvHelperOpensAHelpFileInTheHelpViewerByItsType) {
    const KvemuResult result = run(
        "run KvHelper.exe \\Program Files\\Kelvo\\Skins\\Kelvo.htm\nprint-windows\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out,
                HasSubstr(asLogged(
                    " process peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm\n")));
    EXPECT_THAT(result.out, HasSubstr("\tpeghelp.exe\tHelpWindow\t1\tHelp\n"));
    EXPECT_THAT(result.out, Not(HasSubstr(" beep ")));
}

}  // namespace
